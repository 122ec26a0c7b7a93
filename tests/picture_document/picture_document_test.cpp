// The picture document: the modified mark through every way the picture
// changes, and a file written and read with the document's own parameters.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "imaging/formats/picture_file.h"
#include "picture/picture_document.h"

namespace vistrel {
namespace {

namespace fs = std::filesystem;

TPictureBitmap Gradient() {
  TPictureBitmap picture(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 18; ++x) picture.Row(y)[x] = std::uint8_t(x * 13 + y * 50);
  return picture;
}

class PictureDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("vistrel-document-" + std::to_string(getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string File(const char* name) const { return (folder_ / name).string(); }

  fs::path folder_;
};

// Each step: E edit, U undo, S save, L load (a file saved from another
// picture), with the mark expected after it.
TEST_F(PictureDocumentTest, TheMarkFollowsEditsUndoSavesAndLoads) {
  {
    TPictureDocument other(Gradient());
    other.Proc().Flip(TFlipDirection::Vertical);
    other.Save(File("other.bmp"));
  }
  const struct { const char* steps; const char* marks; } rows[] = {
      {"EU", "10"},        {"ES", "10"},     {"ESU", "101"},  {"ESUE", "1011"},
      {"ESEU", "1010"},    {"EL", "10"},     {"ELU", "101"},  {"SEU", "010"},
      {"EEUU", "1110"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.steps);
    TPictureDocument document(Gradient());
    EXPECT_FALSE(document.Modified());
    for (int i = 0; row.steps[i]; ++i) {
      switch (row.steps[i]) {
        case 'E': ASSERT_TRUE(document.Proc().Negative()); break;
        case 'U': ASSERT_TRUE(document.UndoLast()); break;
        case 'S': document.Save(File("saved.bmp")); break;
        case 'L': document.Load(File("other.bmp")); break;
      }
      EXPECT_EQ(document.Modified(), row.marks[i] == '1') << "after step " << i;
    }
  }
}

TEST_F(PictureDocumentTest, FailedFileWorkChangesNothing) {
  TPictureDocument document(Gradient());
  document.Proc().Negative();
  const TPictureBitmap edited = document.Picture();
  EXPECT_THROW(document.Load(File("missing.bmp")), PictureFileError);
  EXPECT_THROW(document.Save(File("no-folder/x.bmp")), PictureFileError);
  EXPECT_EQ(document.Picture(), edited);
  EXPECT_EQ(document.Undo().UndoDepth(), 1);
  EXPECT_TRUE(document.Modified());
  ASSERT_TRUE(document.UndoLast());
  EXPECT_EQ(document.Picture(), Gradient());
  EXPECT_FALSE(document.UndoLast());
}

TEST_F(PictureDocumentTest, SavesWithItsParametersAndKeepsThemOnLoad) {
  TPictureDocument document(Gradient());
  document.Params().bmp_header = TBmpHeader::Os2;
  document.Save(File("os2.bmp"));

  TPictureBitmap written;
  TIOParams found;
  LoadPictureFile(File("os2.bmp"), written, found);
  EXPECT_EQ(written, Gradient());
  EXPECT_EQ(found.bmp_header, TBmpHeader::Os2);

  // The file's header kind is the file's; the writer's choice stays.
  document.Params().bmp_header = TBmpHeader::Windows;
  document.Proc().Negative();
  document.Load(File("os2.bmp"));
  EXPECT_EQ(document.Picture(), Gradient());
  EXPECT_EQ(document.Params().bmp_header, TBmpHeader::Windows);
}

}  // namespace
}  // namespace vistrel
