// The parameter set: its defaults, its reset and setting it by name.
#include <gtest/gtest.h>

#include "imaging/formats/picture_file.h"

namespace vistrel {
namespace {

TEST(IOParams, DefaultsAfterReset) {
  TIOParams p;
  p.jpeg_quality = 5;
  p.gif_comments = {"x"};
  p.ico_images.clear();
  p.Reset(120);
  EXPECT_EQ(p.bits_per_sample, 8);
  EXPECT_EQ(p.samples_per_pixel, 3);
  EXPECT_EQ(p.dpi_x, 120);
  EXPECT_EQ(p.dpi_y, 120);
  EXPECT_EQ(p.gif_version, "GIF89a");
  EXPECT_FALSE(p.gif_transparent);
  EXPECT_EQ(p.gif_transparent_color, TRgb{});
  EXPECT_TRUE(p.gif_comments.empty());
  EXPECT_EQ(p.jpeg_quality, 80);
  EXPECT_EQ(p.jpeg_dct_method, TJpegDctMethod::ISlow);
  EXPECT_EQ(p.jpeg_color_space, TJpegColorSpace::YCbCr);
  EXPECT_EQ(p.tiff_compression, TTiffCompression::None);
  EXPECT_EQ(p.tiff_photometric, TTiffPhotometric::Rgb);
  EXPECT_EQ(p.bmp_header, TBmpHeader::Windows);
  EXPECT_EQ(p.pcx_version, 5);
  EXPECT_TRUE(p.pcx_rle);
  EXPECT_EQ(p.png_compression, 5);
  EXPECT_EQ(p.png_filter, TPngFilter::None);
  EXPECT_EQ(p.j2k_rate, 1.0);
  EXPECT_EQ(p.j2k_progression, TJ2kProgression::Lrcp);
  EXPECT_EQ(p.ico_images, std::vector<TIcoImage>{TIcoImage{}});
  EXPECT_EQ(p.pdf_page_width, 595);
  EXPECT_EQ(p.pdf_page_height, 842);
  EXPECT_EQ(p.pdf_title, "No Title");
  EXPECT_EQ(p.pdf_compression, kPdfCcittG4);
  EXPECT_EQ(p.file_type, TFileType::None);
}

TEST(WriterParameters, NamesAndValues) {
  TIOParams p;
  EXPECT_TRUE(SetWriterParameter(p, "gif-version", "GIF87a"));
  EXPECT_EQ(p.gif_version, "GIF87a");
  EXPECT_TRUE(SetWriterParameter(p, "JPEG-Quality", "91"));
  EXPECT_EQ(p.jpeg_quality, 91);
  EXPECT_TRUE(SetWriterParameter(p, "png-compression", "9"));
  EXPECT_EQ(p.png_compression, 9);
  EXPECT_TRUE(SetWriterParameter(p, "tiff-compression", "32773"));
  EXPECT_EQ(p.tiff_compression, TTiffCompression::PackBits);
  EXPECT_TRUE(SetWriterParameter(p, "tiff-compression", "g4fax"));
  EXPECT_EQ(p.tiff_compression, TTiffCompression::G4Fax);
  EXPECT_TRUE(SetWriterParameter(p, "pdf-compression", "4"));
  EXPECT_EQ(p.pdf_compression, kPdfJpeg);
  EXPECT_TRUE(SetWriterParameter(p, "bits-per-sample", "1"));
  EXPECT_EQ(p.bits_per_sample, 1);
  EXPECT_TRUE(SetWriterParameter(p, "gif-background", "FF8000"));
  EXPECT_EQ(p.gif_background, (TRgb{255, 128, 0}));
  EXPECT_TRUE(SetWriterParameter(p, "colors", "16"));
  EXPECT_EQ(p.bits_per_sample, 4);
  EXPECT_EQ(p.samples_per_pixel, 1);
  EXPECT_TRUE(SetWriterParameter(p, "colors", "16777216"));
  EXPECT_EQ(p.samples_per_pixel, 3);
  EXPECT_TRUE(SetWriterParameter(p, "ico-images", "16x16x4,256x256x24"));
  EXPECT_EQ(p.ico_images, (std::vector<TIcoImage>{{16, 16, 4}, {256, 256, 24}}));
}

TEST(WriterParameters, JasperOptionTextMapsToRateAndProgression) {
  TIOParams p;
  EXPECT_TRUE(SetWriterParameter(p, "jp2-options", "rate=0.25 prg=rlcp"));
  EXPECT_EQ(p.j2k_rate, 0.25);
  EXPECT_EQ(p.j2k_progression, TJ2kProgression::Rlcp);
  EXPECT_FALSE(SetWriterParameter(p, "jp2-options", "rate=2 prg=cprl"));
  EXPECT_EQ(p.j2k_rate, 0.25);  // a bad item changes nothing
}

TEST(WriterParameters, UnknownNamesAndBadValuesChangeNothing) {
  TIOParams p;
  const TIOParams before = p;
  for (const auto& [name, value] :
       std::vector<std::pair<std::string, std::string>>{{"jpeg-quality", "101"}, {"jpeg-quality", "9x"},
                                                        {"jpeg-quality", ""}, {"png-compression", "-1"},
                                                        {"gif-version", "GIF90a"}, {"gif-background", "12345"},
                                                        {"gif-background", "GGGGGG"}, {"bits-per-sample", "3"},
                                                        {"tiff-compression", "6"}, {"pdf-compression", "5"},
                                                        {"ico-images", "300x300x8"}, {"ico-images", "16x16x3"},
                                                        {"no-such-name", "1"}, {"colors", "1"}}) {
    EXPECT_FALSE(SetWriterParameter(p, name, value)) << name << "=" << value;
  }
  EXPECT_EQ(p, before);
}

TEST(WriterParameters, HelpHasOneLinePerName) {
  const std::string help = WriterParameterHelp();
  for (const char* name : {"gif-version", "jpeg-quality", "png-compression", "tiff-compression", "pdf-compression",
                           "bits-per-sample"})
    EXPECT_NE(help.find(std::string(name) + " "), std::string::npos) << name;
  std::size_t lines = 0, start = 0;
  while (start < help.size()) {
    const std::size_t end = help.find('\n', start);
    const std::string line = help.substr(start, end - start);
    EXPECT_NE(line.find(' '), 0u) << line;
    ++lines;
    start = end + 1;
  }
  EXPECT_GE(lines, 30u);
}

}  // namespace
}  // namespace vistrel
