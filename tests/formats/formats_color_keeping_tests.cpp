// Colours are not dropped for a layout the user never chose: parameters a
// file read left behind describe that file, not what the picture holds now.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/color_quantizer.h"
#include "imaging/formats/color_layout.h"
#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

TPictureBitmap Flat(int w, int h, TColor c) {
  TPictureBitmap p(w, h);
  p.Fill(c);
  return p;
}

TPictureBitmap GreyRamp(int w, int h) {
  TPictureBitmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint8_t v = std::uint8_t(x * 255 / (w - 1));
      p.SetPixel(x, y, MakeColor(v, v, v));
    }
  return p;
}

void Paint(TPictureBitmap& p, int x0, int y0, int x1, int y1, TColor c) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) p.SetPixel(x, y, c);
}

constexpr TWriterColors kPng{true, false, PaletteDepths({1, 2, 4, 8}), true};
constexpr TWriterColors kJpeg{false, true, 0, true};
constexpr TWriterColors kGif{true, false, PaletteDepths({1, 2, 3, 4, 5, 6, 7, 8}), false};
constexpr TWriterColors kPdf{true, false, 0, true};

TEST(DecideColors, ChoicesOfTheUserAreHonoured) {
  const TPictureBitmap photo = test::PhotoLike(20, 10);
  const TColorRequest bw{TColorLayout::BlackWhite, 1, false};
  EXPECT_EQ(DecideColors(photo, bw, kPng).layout, TColorLayout::BlackWhite);
  EXPECT_EQ(DecideColors(photo, bw, kPdf).layout, TColorLayout::BlackWhite);
  const TColorRequest grey{TColorLayout::Grey, 8, false};
  EXPECT_EQ(DecideColors(photo, grey, kJpeg).layout, TColorLayout::Grey);
  // A palette of 16 is quantized to 16 even for a photo.
  EXPECT_EQ(DecideColors(photo, TColorRequest{TColorLayout::Palette, 4, false}, kPng),
            (TColorDecision{TColorLayout::Palette, 4, 16}));
  // 3 bits ask for 8 colours; PNG stores them 4 bits a pixel.
  EXPECT_EQ(DecideColors(photo, TColorRequest{TColorLayout::Palette, 3, false}, kPng),
            (TColorDecision{TColorLayout::Palette, 4, 8}));
}

TEST(DecideColors, LayoutsFromTheFileKeepTheColoursThePictureHasNow) {
  const TPictureBitmap green = Flat(8, 8, MakeColor(0x3c, 0x8a, 0x55));
  const TPictureBitmap photo = test::PhotoLike(40, 30);
  TPictureBitmap black_white = Flat(8, 8, kWhite);
  Paint(black_white, 0, 0, 4, 4, kBlack);
  const TColorRequest bw_file{TColorLayout::BlackWhite, 1, true};
  // One colour fits a 1-bit palette exactly.
  EXPECT_EQ(DecideColors(green, bw_file, kPng), (TColorDecision{TColorLayout::Palette, 1, 2}));
  // Black and white pictures stay black and white.
  EXPECT_EQ(DecideColors(black_white, bw_file, kPng).layout, TColorLayout::BlackWhite);
  // Too many colours for any palette: full colour, or the largest palette.
  EXPECT_EQ(DecideColors(photo, bw_file, kPng).layout, TColorLayout::Rgb);
  EXPECT_EQ(DecideColors(photo, bw_file, kPdf).layout, TColorLayout::Rgb);
  EXPECT_EQ(DecideColors(photo, bw_file, kGif), (TColorDecision{TColorLayout::Palette, 8, 256}));
  // A grey file's layout holds a grey picture, not a coloured one.
  const TColorRequest grey_file{TColorLayout::Grey, 8, true};
  EXPECT_EQ(DecideColors(GreyRamp(30, 2), grey_file, kJpeg).layout, TColorLayout::Grey);
  EXPECT_EQ(DecideColors(photo, grey_file, kJpeg).layout, TColorLayout::Rgb);
  // A 16-colour file now showing 40 colours gets an exact 256-colour palette.
  TPictureBitmap forty(40, 1);
  for (int x = 0; x < 40; ++x) forty.SetPixel(x, 0, MakeColor(std::uint8_t(x * 6), 0, 0));
  EXPECT_EQ(DecideColors(forty, TColorRequest{TColorLayout::Palette, 4, true}, kPng),
            (TColorDecision{TColorLayout::Palette, 8, 256}));
  EXPECT_EQ(DecideColors(forty, TColorRequest{TColorLayout::Palette, 4, false}, kPng),
            (TColorDecision{TColorLayout::Palette, 4, 16}));
}

TEST(DecideColors, ParametersCountAsTheFilesOnlyUntilSomeoneChoosesAgain) {
  TIOParams params;
  params.bits_per_sample = 1;
  params.samples_per_pixel = 1;
  EXPECT_FALSE(DepthRequest(params).from_file);
  NoteFileColors(params, TFileType::Png);
  EXPECT_TRUE(DepthRequest(params).from_file);
  EXPECT_EQ(DepthRequest(params).layout, TColorLayout::BlackWhite);
  // The options dialog sets the fields: another value is the user's.
  params.bits_per_sample = 8;
  EXPECT_FALSE(DepthFromFile(params));
  params.bits_per_sample = 1;
  EXPECT_TRUE(DepthFromFile(params));
  // A parameter set by name is the user's even with the file's value.
  ASSERT_TRUE(SetWriterParameter(params, "colors", "2"));
  EXPECT_FALSE(DepthFromFile(params));
  // Only a JPEG file tells a JPEG colour space.
  NoteFileColors(params, TFileType::Png);
  EXPECT_FALSE(params.file_colors.jpeg.has_value());
  NoteFileColors(params, TFileType::Jpeg);
  EXPECT_TRUE(JpegColorSpaceFromFile(params));
}

class ColourKeeping : public ::testing::Test {
 protected:
  TPictureBitmap Load(const std::string& name) {
    TPictureBitmap p;
    LoadPictureFile(dir_.File(name), p, params_);
    return p;
  }
  void Save(const std::string& name, const TPictureBitmap& p) { SavePictureFile(dir_.File(name), p, params_); }
  TIOParams params_;
  test::TScratchDir dir_;
};

// A one-colour 1-bit palette PNG, read and written again, keeps its colour
// (it used to come out black).
TEST_F(ColourKeeping, FlatColourOneBitPalettePngStaysItsColour) {
  const TColor green = MakeColor(0x3c, 0x8a, 0x55);
  const std::string made = dir_.File("flat.png");
  if (std::filesystem::exists("/usr/bin/convert")) {
    ASSERT_EQ(std::system(("/usr/bin/convert -size 50x40 xc:'#3c8a55' '" + made + "' >/dev/null 2>&1").c_str()), 0);
  } else {
    TIOParams file;
    file.bits_per_sample = file.samples_per_pixel = 1;
    NoteFileColors(file, TFileType::Png);
    SavePictureFile(made, Flat(50, 40, green), file);
  }
  TPictureBitmap p = Load("flat.png");
  ASSERT_EQ(params_.samples_per_pixel, 1);
  ASSERT_EQ(params_.bits_per_sample, 1);
  EXPECT_EQ(p.Pixel(10, 10), green);
  Save("again.png", p);
  EXPECT_EQ(Load("again.png").Pixel(10, 10), green);
  // Saved as PDF it takes the colour path, not the fax coding.
  params_ = {};
  Load("flat.png");
  Save("flat.pdf", p);
  const auto pdf = test::ReadBytes(dir_.File("flat.pdf"));
  const std::string text(pdf.begin(), pdf.end());
  EXPECT_NE(text.find("/DeviceRGB"), std::string::npos);
  EXPECT_EQ(text.find("/CCITTFaxDecode"), std::string::npos);
}

// Painting colour into a 1-bit picture read from a file keeps the colour in
// every format that has one; asking for black and white still gives it.
TEST_F(ColourKeeping, ColourPaintedIntoABlackAndWhiteFileSurvivesEveryWriter) {
  TPictureBitmap page = test::MonoPattern(40, 30);
  SavePictureFile(dir_.File("page.png"), page, TIOParams{});
  for (const char* ext : {"png", "bmp", "tif", "pcx", "gif", "jpg", "jp2"}) {
    SCOPED_TRACE(ext);
    params_ = {};
    TPictureBitmap p = test::Expand(Load("page.png"));
    Paint(p, 2, 2, 30, 26, MakeColor(200, 30, 40));
    const std::string name = std::string("painted.") + ext;
    Save(name, p);
    TIOParams read;
    TPictureBitmap back;
    LoadPictureFile(dir_.File(name), back, read);
    const TColor c = back.Pixel(15, 14);
    EXPECT_NEAR(RedOf(c), 200, 25);
    EXPECT_NEAR(GreenOf(c), 30, 25);
    EXPECT_NEAR(BlueOf(c), 40, 25);
    if (std::string(ext) != "jpg") EXPECT_EQ(test::MaxChannelDifference(back, p), 0);
    // The user's own choice of black and white is a black-and-white file.
    ASSERT_TRUE(SetWriterParameter(params_, "colors", "2"));
    if (std::string(ext) == "jpg" || std::string(ext) == "jp2") continue;
    Save(name, p);
    LoadPictureFile(dir_.File(name), back, read);
    const TColor bw = test::Expand(back).Pixel(15, 14);
    EXPECT_TRUE(bw == kBlack || bw == kWhite);
  }
}

// A grey JPEG or JPEG 2000 made colourful is saved in colour; asked for
// grey by the user, it is grey.
TEST_F(ColourKeeping, GreyJpegEditedInColourIsSavedInColour) {
  for (const char* ext : {"jpg", "jp2"}) {
    SCOPED_TRACE(ext);
    TIOParams grey;
    grey.jpeg_color_space = TJpegColorSpace::Gray;
    grey.j2k_color_space = TJ2kColorSpace::Gray;
    grey.jpeg_quality = 95;
    const std::string name = std::string("grey.") + ext;
    SavePictureFile(dir_.File(name), GreyRamp(48, 32), grey);
    params_ = {};
    TPictureBitmap p = Load(name);
    Paint(p, 8, 8, 40, 24, MakeColor(20, 40, 220));
    Save(name, p);
    TIOParams read;
    TPictureBitmap back;
    LoadPictureFile(dir_.File(name), back, read);
    EXPECT_GT(BlueOf(back.Pixel(20, 16)), 180);
    EXPECT_LT(RedOf(back.Pixel(20, 16)), 60);
    // Chosen on purpose: grey.
    if (std::string(ext) == "jpg") {
      ASSERT_TRUE(SetWriterParameter(params_, "jpeg-colorspace", "gray"));
    } else {
      params_.j2k_color_space = TJ2kColorSpace::Rgb;  // the options dialog: another choice, then grey
      params_.file_colors.j2k.reset();
      params_.j2k_color_space = TJ2kColorSpace::Gray;
    }
    Save(name, p);
    LoadPictureFile(dir_.File(name), back, read);
    const TColor c = back.Pixel(20, 16);
    EXPECT_EQ(RedOf(c), BlueOf(c));
  }
}

// A two-colour GIF (1 bit per pixel) of red and blue is saved as red and
// blue, not as black and white.
TEST_F(ColourKeeping, TwoColourGifKeepsItsColours) {
  TPictureBitmap p = Flat(16, 8, MakeColor(255, 0, 0));
  Paint(p, 8, 0, 16, 8, MakeColor(0, 0, 255));
  TIOParams two;
  two.bits_per_sample = 1;
  two.samples_per_pixel = 1;
  NoteFileColors(two, TFileType::Gif);
  SavePictureFile(dir_.File("two.gif"), p, two);
  const TPictureBitmap first = Load("two.gif");
  EXPECT_EQ(params_.bits_per_sample, 1);
  EXPECT_EQ(test::MaxChannelDifference(first, p), 0);
  Save("again.gif", first);
  const auto bytes = test::ReadBytes(dir_.File("again.gif"));
  EXPECT_EQ(bytes[10] & 7, 0);  // still a 2-entry global table
  EXPECT_EQ(test::MaxChannelDifference(Load("again.gif"), p), 0);
}

// After loading a 256-colour GIF, saving as BMP writes an 8-bit BMP with a
// palette.
TEST_F(ColourKeeping, FullPaletteGifSavedAsBmpIsEightBit) {
  TPictureBitmap p(16, 16);
  for (int i = 0; i < 256; ++i) p.SetPixel(i % 16, i / 16, MakeColor(std::uint8_t(i), std::uint8_t(255 - i), 9));
  SavePictureFile(dir_.File("full.gif"), p, TIOParams{});
  const TPictureBitmap loaded = Load("full.gif");
  Save("full.bmp", loaded);
  const auto bmp = test::ReadBytes(dir_.File("full.bmp"));
  EXPECT_EQ(bmp[28], 8);
  TPictureBitmap back;
  TIOParams read;
  LoadPictureFile(dir_.File("full.bmp"), back, read);
  EXPECT_EQ(test::MaxChannelDifference(back, p), 0);
}

}  // namespace
}  // namespace vistrel
