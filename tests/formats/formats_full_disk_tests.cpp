// Saving to a full file system: every writer names the cause, and nothing
// is left behind. A small tmpfs is the full disk, so these run as root.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

namespace fs = std::filesystem;

class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    disk_ = scratch_.Path() / "disk";
    fs::create_directory(disk_);
    if (mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=256k") != 0) GTEST_SKIP() << "cannot mount tmpfs";
    mounted_ = true;
  }
  void TearDown() override {
    if (mounted_) umount2(disk_.c_str(), MNT_DETACH);
  }
  // Fills the disk but for about `room` bytes.
  void Fill(std::size_t room) {
    std::ofstream filler(disk_ / "filler", std::ios::binary);
    const std::vector<char> block(4096, 'x');
    for (int i = 0; i < 64; ++i) filler.write(block.data(), block.size());
    filler.close();
    fs::resize_file(disk_ / "filler", 256 * 1024 - room);
  }
  std::size_t Entries() const {
    return std::size_t(std::distance(fs::directory_iterator(disk_), fs::directory_iterator()));
  }

  test::TScratchDir scratch_;
  fs::path disk_;
  bool mounted_ = false;
};

TEST_F(FullDisk, EveryWriterSaysNoSpaceLeftAndLeavesNoFile) {
  // Some room: headers fit, the pixels do not.
  Fill(8 * 1024);
  const TPictureBitmap photo = test::PhotoLike(600, 400);
  TIOParams params;
  params.ico_images = {TIcoImage{256, 256, 24}};
  for (const char* name : {"a.png", "a.jpg", "a.gif", "a.bmp", "a.tif", "a.pcx", "a.dcx", "a.ico", "a.jp2", "a.j2k",
                           "a.tga", "a.ppm", "a.pgm", "a.pbm", "a.pxm", "a.wbmp", "a.ps", "a.eps", "a.pdf"}) {
    SCOPED_TRACE(name);
    const std::string path = (disk_ / name).string();
    try {
      SavePictureFile(path, photo, params);
      ADD_FAILURE() << "saved on a full disk";
    } catch (const PictureFileError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot write " + path + ": No space left on device");
    }
    EXPECT_EQ(Entries(), 1u) << "a temporary or partial file was left";
  }
  // No room at all: the first bytes already fail.
  Fill(0);
  try {
    SavePictureFile((disk_ / "b.tif").string(), photo, TIOParams{});
    ADD_FAILURE() << "saved on a full disk";
  } catch (const PictureFileError& e) {
    EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos) << e.what();
  }
  EXPECT_EQ(Entries(), 1u);
}

// The same writers, given room, still write complete files through the
// temporary file (TIFF seeks back to its directory; JPEG 2000 to its boxes).
TEST_F(FullDisk, WritersThatSeekBackWriteWholeFiles) {
  const TPictureBitmap photo = test::PhotoLike(60, 40);
  for (const char* name : {"c.tif", "c.jp2", "c.pdf"}) {
    SCOPED_TRACE(name);
    const std::string path = (disk_ / name).string();
    SavePictureFile(path, photo, TIOParams{});
    if (std::string(name) == "c.pdf") continue;
    TPictureBitmap back;
    TIOParams params;
    LoadPictureFile(path, back, params);
    EXPECT_EQ(back, photo);
  }
}

}  // namespace
}  // namespace vistrel
