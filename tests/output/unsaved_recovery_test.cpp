#include "output/unsaved_recovery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "imaging/formats/picture_file.h"

namespace vistrel {
namespace {

namespace fs = std::filesystem;

class UnsavedRecoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vistrel-recovery-XXXXXX";
    ASSERT_TRUE(mkdtemp(name));
    root_ = name;
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    shared_ = root_ / "shared";
    fs::create_directory(shared_);
    fs::permissions(shared_, fs::perms::all | fs::perms::sticky_bit);
  }
  void TearDown() override {
    unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(root_);
  }
  fs::path root_, shared_;
};

// Names follow on from files already there, the pictures are private in a
// folder others may list, the next start takes the list once, and a folder
// that cannot be written is reported, not remembered.
TEST_F(UnsavedRecoveryTest, KeepsNumberedPrivatePicturesAndNamesThemOnce) {
  TPictureBitmap picture(3, 2);
  picture.Fill(MakeColor(10, 20, 30));
  std::string error;
  const std::string first = SaveUnsavedPicture(picture, shared_.string(), error);
  EXPECT_EQ(first, (shared_ / "Unsaved-0001.png").string()) << error;
  const std::string second = SaveUnsavedPicture(picture, shared_.string(), error);
  EXPECT_EQ(second, (shared_ / "Unsaved-0002.png").string());
  struct stat st {};
  ASSERT_EQ(stat(first.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  TIOParams params;
  TPictureBitmap read;
  LoadPictureFile(second, read, params);
  EXPECT_EQ(read.Pixel(2, 1), MakeColor(10, 20, 30));

  EXPECT_EQ(SaveUnsavedPicture(picture, (root_ / "missing" / "deeper").string(), error), "");
  EXPECT_FALSE(error.empty());

  const std::vector<std::string> kept = TakeRecoveredPictures();
  EXPECT_EQ(kept, (std::vector<std::string>{first, second}));
  EXPECT_TRUE(TakeRecoveredPictures().empty());
  EXPECT_EQ(RecoveredPicturesNotice(kept),
            "When the session ended, the edited pictures were saved as " + first + " and " +
                second + ".");
  EXPECT_EQ(RecoveredPicturesNotice({first}),
            "When the session ended, the edited picture was saved as " + first + ".");
}

}  // namespace
}  // namespace vistrel
