#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vistrel {
namespace {

TEST(SystemInfo, KernelReleaseGivesMajorMinorBuild) {
  TKernelVersion v = ParseKernelRelease("6.1.0-18-amd64");
  EXPECT_EQ(v.major, "6");
  EXPECT_EQ(v.minor, "1");
  EXPECT_EQ(v.build, "0");
  v = ParseKernelRelease("5.15.153.1-microsoft-standard-WSL2");
  EXPECT_EQ(v.build, "153");
  v = ParseKernelRelease("6.8-rc1");
  EXPECT_EQ((v.major + v.minor + v.build), "680");
  v = ParseKernelRelease("weird");
  EXPECT_EQ((v.major + v.minor + v.build), "000");
}

TEST(SystemInfo, PrettyNameIsUnquoted) {
  EXPECT_EQ(PrettyNameFromOsRelease(
                "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
            "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(PrettyNameFromOsRelease("PRETTY_NAME=Plain\n"), "Plain");
  EXPECT_EQ(PrettyNameFromOsRelease("NAME=x\n"), "");
}

TEST(SystemInfo, LiveValuesAreNeverEmpty) {
  TSystemInfo info;
  EXPECT_FALSE(info.PlatformID().empty());
  EXPECT_FALSE(info.NetworkUserName().empty());
  setenv("TMPDIR", "/var/tmp", 1);
  EXPECT_EQ(info.TempDirectory(), "/var/tmp/");
  unsetenv("TMPDIR");
  EXPECT_EQ(info.TempDirectory(), "/tmp/");
}

TEST(PicturesFolder, UserDirsNameItWithHomePutIn) {
  const std::string home = "/home/ann";
  EXPECT_EQ(PicturesDirFromUserDirs("# comment\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n", home),
            "/home/ann/Bilder");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"/srv/shots\"  \n", home), "/srv/shots");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOME\"\n", home), "/home/ann");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=\"$HOMEX/a\"\n", home), "");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_PICTURES_DIR=relative\n", home), "");
  EXPECT_EQ(PicturesDirFromUserDirs("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", home), "");
  EXPECT_EQ(PicturesDirFromUserDirs(
                "XDG_PICTURES_DIR=\"$HOME/a\"\nXDG_PICTURES_DIR=\"$HOME/b\"\n", home),
            "/home/ann/b");
}

// Under a fresh home: ~/Pictures without user-dirs.dirs, the folder it names
// with one; made private when missing, a folder that exists kept as it is.
TEST(PicturesFolder, MadePrivateUnderAFreshHome) {
  namespace fs = std::filesystem;
  const fs::path home = fs::temp_directory_path() / ("vistrel-home-" + std::to_string(getpid()));
  fs::remove_all(home);
  fs::create_directories(home);
  const std::string old_home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", home.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  auto mode = [](const fs::path& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 ? int(st.st_mode & 0777) : -1;
  };

  EXPECT_EQ(PicturesFolder(), (home / "Pictures").string() + "/");
  EXPECT_EQ(mode(home / "Pictures"), 0700);

  fs::create_directories(home / ".config");
  std::ofstream(home / ".config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/My Shots/2026\"\n";
  EXPECT_EQ(PicturesFolder(), (home / "My Shots/2026").string() + "/");
  EXPECT_EQ(mode(home / "My Shots/2026"), 0700);

  fs::create_directories(home / "shared");
  fs::permissions(home / "shared", fs::perms(0755));
  std::ofstream(home / ".config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/shared/\"\n";
  EXPECT_EQ(PicturesFolder(), (home / "shared").string() + "/");
  EXPECT_EQ(mode(home / "shared"), 0755);

  setenv("HOME", old_home.c_str(), 1);
  fs::remove_all(home);
}

}  // namespace
}  // namespace vistrel
