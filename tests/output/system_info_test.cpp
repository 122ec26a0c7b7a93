#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

}  // namespace
}  // namespace vistrel
