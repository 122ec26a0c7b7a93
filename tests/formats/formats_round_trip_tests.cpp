// Pictures written by each writer read back with the same pixels by our
// own reader of that format.
#include <gtest/gtest.h>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using test::TScratchDir;

TPictureBitmap SaveAndLoad(const std::string& path, const TPictureBitmap& picture,
                           const TIOParams& params) {
  SavePictureFile(path, picture, params);
  TPictureBitmap loaded;
  TIOParams read_params;
  LoadPictureFile(path, loaded, read_params);
  return loaded;
}

TEST(PngRoundTrip, KeepsColourMonoAndResolution) {
  TScratchDir dir;
  TIOParams params;
  params.dpi_x = params.dpi_y = 150;
  TPictureBitmap photo = test::PhotoLike(37, 23);
  EXPECT_EQ(SaveAndLoad(dir.File("a.png"), photo, params), photo);

  const TPictureBitmap mono = test::MonoPattern(35, 9);
  const TPictureBitmap loaded = SaveAndLoad(dir.File("b.PNG"), mono, params);
  EXPECT_TRUE(loaded.IsMono());
  EXPECT_EQ(loaded, mono);
  EXPECT_EQ(loaded.DpiX(), 150);

  params.png_interlaced = true;
  params.png_filter = TPngFilter::Paeth;
  params.png_compression = 9;
  EXPECT_EQ(SaveAndLoad(dir.File("c.png"), photo, params), photo);
}

TEST(PngRoundTrip, PaletteOutputKeepsAFewColoursExactly) {
  TScratchDir dir;
  TIOParams params;
  params.bits_per_sample = 4;
  params.samples_per_pixel = 1;
  const TPictureBitmap shot = test::ScreenshotLike(64, 40);
  EXPECT_EQ(SaveAndLoad(dir.File("p.png"), shot, params), shot);
}

}  // namespace
}  // namespace vistrel
