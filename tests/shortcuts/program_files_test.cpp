#include "platform/shortcuts/program_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vistrel {
namespace {

namespace fs = std::filesystem;

class ProgramFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/program-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }
  void Touch(const fs::path& path) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "x";
  }
  fs::path root_;
};

TEST_F(ProgramFiles, BesideTheProgramThenTheInstalledLayout) {
  // Build tree: the guide lies beside the program.
  Touch(root_ / "build/Vistrel_Pro.html");
  TProgramFile found =
      FindProgramFile((root_ / "build").string(), "../share/doc/vistrel-pro", "Vistrel_Pro.html");
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.path, (root_ / "build/Vistrel_Pro.html").string());

  // Installed: bin/ and share/ under one prefix, the path without "..".
  Touch(root_ / "usr/share/doc/vistrel-pro/Vistrel_Pro.html");
  fs::create_directories(root_ / "usr/bin");
  found = FindProgramFile((root_ / "usr/bin").string(), "../share/doc/vistrel-pro",
                          "Vistrel_Pro.html");
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.path, (root_ / "usr/share/doc/vistrel-pro/Vistrel_Pro.html").string());

  // Missing everywhere: the installed path is the one to name, a folder of
  // that name is no file.
  fs::create_directories(root_ / "usr/share/icons/x.svg");
  found = FindProgramFile((root_ / "usr/bin").string(), "../share/icons", "x.svg");
  EXPECT_FALSE(found.found);
  EXPECT_EQ(found.path, (root_ / "usr/share/icons/x.svg").string());
}

}  // namespace
}  // namespace vistrel
