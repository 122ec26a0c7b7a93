// Damaged files the fuzzers once found troublesome (the fuzz corpus, one
// folder per reader): through LoadPictureFile each must load or be refused
// with PictureFileError naming the file, never crash or hang.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/formats/picture_file.h"

namespace vistrel {
namespace {

TEST(Regressions, DamagedFilesLoadOrAreRefused) {
  const std::filesystem::path dir = VISTREL_FUZZ_CORPUS_DIR;
  ASSERT_TRUE(std::filesystem::is_directory(dir));
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file() || !CanLoadPictureFile(entry.path().string())) continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++files;
    TPictureBitmap picture(3, 3);
    TIOParams params;
    try {
      LoadPictureFile(entry.path().string(), picture, params);
      EXPECT_FALSE(picture.Empty());
    } catch (const PictureFileError& e) {
      EXPECT_NE(std::string(e.what()).find(entry.path().string()), std::string::npos);
      EXPECT_EQ(picture.Width(), 3);
    }
  }
  EXPECT_GT(files, 0);
}

}  // namespace
}  // namespace vistrel
