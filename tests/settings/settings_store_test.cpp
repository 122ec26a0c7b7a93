#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vistrel {
namespace {

namespace fs = std::filesystem;
const std::string S = "Setup\\OtherOptions";

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vistrel-store-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    path_ = (dir_ / "Vistrel-Pro" / "settings.reg").string();
  }
  void TearDown() override {
    chmod(dir_.c_str(), 0700);
    fs::remove_all(dir_);
  }
  std::string Content(const std::string& p) const {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  void Put(const std::string& content) const {
    fs::create_directories(fs::path(path_).parent_path());
    std::ofstream(path_, std::ios::binary) << content;
  }
  fs::path dir_;
  std::string path_;
};

TEST_F(SettingsStoreTest, EveryKindSurvivesAReopen) {
  {
    SettingsStore st(path_);
    st.WriteString(S, "AutoFileName", "Bild \"1\"\\x");
    st.WriteInteger(S, "CustomW", -12);
    st.WriteBool(S, "Sound", false);
    st.WriteDateTime(S, "AutoIntTime", 0.00035);
    st.WriteInteger("Setup\\HotKeys", "Key0", 44);
  }
  SettingsStore st(path_);
  EXPECT_EQ(st.ReadString(S, "AutoFileName", ""), "Bild \"1\"\\x");
  EXPECT_EQ(st.ReadInteger(S, "CustomW", 0), -12);
  EXPECT_FALSE(st.ReadBool(S, "Sound", true));
  EXPECT_DOUBLE_EQ(st.ReadDateTime(S, "AutoIntTime", 0), 0.00035);
  EXPECT_EQ(st.ReadInteger("setup\\hotkeys", "key0", 0), 44);
  const std::string text = Content(path_);
  EXPECT_EQ(text.rfind("REGEDIT4\n", 0), 0u);
  EXPECT_NE(text.find("\"CustomW\"=dword:fffffff4"), std::string::npos);
  EXPECT_NE(text.find("\"Sound\"=\"0\""), std::string::npos);
}

TEST_F(SettingsStoreTest, MissingValuesGiveTheirDefaults) {
  SettingsStore st(path_);  // no file, no folder
  EXPECT_EQ(st.ReadString(S, "AutoFileName", "Picture"), "Picture");
  EXPECT_EQ(st.ReadInteger(S, "CustomW", 100), 100);
  EXPECT_TRUE(st.ReadBool(S, "Sound", true));
  EXPECT_DOUBLE_EQ(st.ReadDateTime(S, "AutoIntTime", 0.00035), 0.00035);
  EXPECT_FALSE(st.SectionExists("Setup\\HotKeys"));
  EXPECT_TRUE(st.Close());
  EXPECT_FALSE(fs::exists(path_));  // nothing written, nothing created
}

TEST_F(SettingsStoreTest, TextValuesReadAsNumbersAndStayText) {
  Put("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n"
      "\"Sound\"=\"5\"\n\"AutoCrop\"=\"yes\"\n\"CustomW\"=\" 250 \"\n\"CustomH\"=\"99999999999\"\n"
      "\"AutoIntTime\"=\"0.5\"\n");
  SettingsStore st(path_);
  EXPECT_TRUE(st.ReadBool(S, "Sound", false));       // any non-zero number is true
  EXPECT_FALSE(st.ReadBool(S, "AutoCrop", false));   // not a number: the default
  EXPECT_TRUE(st.ReadBool(S, "AutoCrop", true));
  EXPECT_EQ(st.ReadInteger(S, "CustomW", 0), 250);
  EXPECT_EQ(st.ReadInteger(S, "CustomH", 7), 7);     // out of range: the default
  EXPECT_DOUBLE_EQ(st.ReadDateTime(S, "AutoIntTime", 0.25), 0.25);
  // An integer written over text is written as decimal text.
  st.WriteInteger(S, "CustomW", 300);
  st.WriteInteger(S, "Fresh", 300);
  ASSERT_TRUE(st.Close());
  const std::string text = Content(path_);
  EXPECT_NE(text.find("\"CustomW\"=\"300\""), std::string::npos);
  EXPECT_NE(text.find("\"Fresh\"=dword:0000012c"), std::string::npos);
}

TEST_F(SettingsStoreTest, EraseTakesTheSectionAndEverythingBelow) {
  {
    SettingsStore st(path_);
    st.WriteString(S, "A", "1");
    st.WriteString("Setup\\HotKeys", "B", "2");
    st.WriteString("SetupOther", "C", "3");  // a sibling whose name starts alike
  }
  {
    SettingsStore st(path_);
    EXPECT_TRUE(st.SectionExists("Setup\\HotKeys"));
    st.EraseSection("Setup");
  }
  SettingsStore st(path_);
  EXPECT_FALSE(st.SectionExists(S));
  EXPECT_FALSE(st.SectionExists("Setup\\HotKeys"));
  EXPECT_EQ(st.ReadString("SetupOther", "C", ""), "3");
}

TEST_F(SettingsStoreTest, DamagedFileKeepsWhatCanBeReadAndACopy) {
  const std::string damaged =
      "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n"
      "\"CustomW\"=dword:00000200\n\x01\x02\xff garbage\n\"CustomH\"=dword:zz\n"
      "\"AutoFileName\"=\"Shot\"\n";
  Put(damaged);
  {
    SettingsStore st(path_);
    EXPECT_EQ(st.ReadInteger(S, "CustomW", 100), 512);
    EXPECT_EQ(st.ReadInteger(S, "CustomH", 100), 100);
    EXPECT_EQ(st.ReadString(S, "AutoFileName", ""), "Shot");
    st.WriteBool(S, "Sound", true);
  }
  EXPECT_EQ(Content(path_ + ".damaged"), damaged);
  SettingsStore st(path_);
  EXPECT_EQ(st.ReadInteger(S, "CustomW", 100), 512);
  EXPECT_EQ(st.ReadString(S, "AutoFileName", ""), "Shot");
  EXPECT_TRUE(st.ReadBool(S, "Sound", false));
}

TEST_F(SettingsStoreTest, WriteIntoReadOnlyFolderFailsCleanly) {
  if (geteuid() == 0) {
    // root writes anyway; a path below a plain file fails the same way.
    Put("REGEDIT4\n");
    SettingsStore st(path_ + "/below-a-file.reg");
    st.WriteString(S, "A", "1");
    EXPECT_FALSE(st.Close());
    return;
  }
  Put("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n\"A\"="
      "\"old\"\n");
  chmod(fs::path(path_).parent_path().c_str(), 0500);
  {
    SettingsStore st(path_);
    st.WriteString(S, "A", "new");
    EXPECT_FALSE(st.Close());
  }
  chmod(fs::path(path_).parent_path().c_str(), 0700);
  SettingsStore st(path_);
  EXPECT_EQ(st.ReadString(S, "A", ""), "old");
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path_).parent_path()),
                          fs::directory_iterator{}), 1);
}

// Written through a temporary file renamed over the old one, never in
// place: a second name of the old file keeps the old text, and a reader
// that opened the old file never sees a half-written one.
TEST_F(SettingsStoreTest, ChangedStoreReplacesTheFileInsteadOfWritingIntoIt) {
  const std::string old_text =
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n\"A\"="
      "\"old\"\n";
  Put(old_text);
  const std::string second_name = (dir_ / "second-name.reg").string();
  fs::create_hard_link(path_, second_name);
  struct stat before{};
  ASSERT_EQ(stat(path_.c_str(), &before), 0);
  {
    SettingsStore st(path_);
    st.WriteString(S, "A", "new");
    EXPECT_TRUE(st.Close());
  }
  struct stat after{};
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(Content(second_name), old_text);
  EXPECT_NE(Content(path_).find("\"A\"=\"new\""), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path_).parent_path()),
                          fs::directory_iterator{}),
            1);
}

TEST_F(SettingsStoreTest, UnchangedStoreIsNotRewritten) {
  Put("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n"
      "\"A\"=\"1\"\n; a comment the user wrote\n");
  {
    SettingsStore st(path_);
    st.WriteString(S, "A", "1");
  }
  EXPECT_NE(Content(path_).find("a comment"), std::string::npos);
}

}  // namespace
}  // namespace vistrel
