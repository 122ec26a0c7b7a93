#include "output/stale_save_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "imaging/formats/picture_file.h"

namespace vistrel {
namespace {

namespace fs = std::filesystem;

// The id of a process that has ended and been reaped.
pid_t EndedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

class StaleSaveFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vistrel-stale-XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    folder_ = name;
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path Make(const std::string& name) {
    const fs::path path = folder_ / name;
    std::ofstream(path) << "half a picture";
    return path;
  }
  std::vector<std::string> Remove() {
    std::vector<std::string> removed = RemoveStaleSaveFiles({folder_.string()});
    std::sort(removed.begin(), removed.end());
    return removed;
  }

  fs::path folder_;
};

TEST(StaleSaveFileNames, OnlyThePictureWritersTemporaryNames) {
  pid_t pid = 0;
  EXPECT_TRUE(IsSaveTempName(".Picture0001.png.1234-0.tmp", &pid));
  EXPECT_EQ(pid, 1234);
  EXPECT_TRUE(IsSaveTempName(".my shot.v2.JPG.77-15.tmp", &pid));
  EXPECT_EQ(pid, 77);
  for (const char* other : {"Picture0001.png.1234-0.tmp", ".Picture0001.png.1234.tmp",
                            ".Picture0001.png.12a4-0.tmp", ".Picture0001.png.1234-.tmp",
                            ".Picture0001.png.1234-0.tmp~", ".notes.txt.1234-0.tmp",
                            ".png.1234-0.tmp", ".Picture0001.png.-0.tmp", ".tmp",
                            ".Picture0001.png.99999999999-0.tmp"})
    EXPECT_FALSE(IsSaveTempName(other, &pid)) << other;
}

TEST_F(StaleSaveFilesTest, OnlyTheUsersFilesOfEndedProcessesGo) {
  const std::string ended = std::to_string(EndedProcess());
  const std::string running = std::to_string(getpid());
  const fs::path stale = Make(".Picture0003.png." + ended + "-0.tmp");
  const fs::path stale_jpeg = Make(".Shot.jpg." + ended + "-12.tmp");
  const fs::path live = Make(".Picture0004.png." + running + "-0.tmp");
  const fs::path picture = Make("Picture0001.png");
  const fs::path other_file = Make(".notes.txt." + ended + "-0.tmp");
  // A link named like a leftover is not followed nor removed.
  const fs::path target = Make("target.png");
  const fs::path link = folder_ / (".Picture0005.png." + ended + "-0.tmp");
  fs::create_symlink(target, link);
  // Another user's leftover stays (only root can make one here).
  const fs::path foreign = Make(".Picture0006.png." + ended + "-0.tmp");
  const bool foreign_made = chown(foreign.c_str(), 65534, 65534) == 0;

  EXPECT_EQ(Remove(), (std::vector<std::string>{stale.string(), stale_jpeg.string()}));
  for (const fs::path& kept : {live, picture, other_file, target, foreign})
    EXPECT_TRUE(fs::exists(kept)) << kept;
  EXPECT_TRUE(fs::is_symlink(link));
  if (!foreign_made) GTEST_LOG_(INFO) << "not root: no file of another user was made";
  // A missing folder and an empty name are passed over.
  EXPECT_TRUE(RemoveStaleSaveFiles({"", (folder_ / "missing").string()}).empty());
}

TEST_F(StaleSaveFilesTest, TheLeftoverOfAKilledSaveIsRecognisedAndRemoved) {
  // A child that dies in the middle of writing: the file size limit kills
  // it at its first write, after the temporary file was created.
  const std::string target = (folder_ / "Picture0001.png").string();
  const pid_t child = fork();
  if (child == 0) {
    const rlimit no_core{0, 0}, one_byte{1, 1};
    setrlimit(RLIMIT_CORE, &no_core);
    setrlimit(RLIMIT_FSIZE, &one_byte);
    TPictureBitmap picture;
    picture.Allocate(64, 64);
    TIOParams params;
    try {
      SavePictureFile(target, picture, params);
    } catch (...) {
    }
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_EQ(WTERMSIG(status), SIGXFSZ);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder_)) left.push_back(entry.path().string());
  ASSERT_EQ(left.size(), 1u);
  pid_t pid = 0;
  EXPECT_TRUE(IsSaveTempName(fs::path(left[0]).filename().string(), &pid));
  EXPECT_EQ(pid, child);
  EXPECT_EQ(Remove(), left);
  EXPECT_TRUE(fs::is_empty(folder_));
}

}  // namespace
}  // namespace vistrel
