// The PDF writer's objects, scaling and cross-reference table, and its
// images as a PDF renderer (poppler's pdftoppm) draws them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

std::string SavePdf(const test::TScratchDir& dir, const TPictureBitmap& picture, const TIOParams& params,
                    const std::string& name = "p.pdf") {
  SavePictureFile(dir.File(name), picture, params);
  const auto bytes = test::ReadBytes(dir.File(name));
  return std::string(bytes.begin(), bytes.end());
}

TEST(PdfWriter, TenByFivePictureFillsThePageWidthAtTheTop) {
  test::TScratchDir dir;
  const std::string pdf = SavePdf(dir, test::PhotoLike(10, 5), TIOParams{});
  EXPECT_EQ(pdf.substr(0, 15), "%PDF-1.4\n%\xC8\xD2\xF0\xFE\n");
  EXPECT_NE(pdf.find("4 0 obj\n<< /Length 32\n>>\nstream\nq\n595 0 0 298 0 544 cm\n/lm1 Do\nQ\nendstream\nendobj\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("1 0 obj\n<< /Type /Catalog\n/Pages 6 0 R\n>>\nendobj\n"), std::string::npos);
  EXPECT_NE(pdf.find("2 0 obj\n<< /ProcSet [/PDF /ImageB]\n/XObject << /lm1 3 0 R >>\n>>\nendobj\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("3 0 obj\n<< /Type /XObject\n/Subtype /Image\n/Width 10\n/Height 5\n/ColorSpace /DeviceRGB\n"
                     "/BitsPerComponent 8\n/Length 150\n>>\nstream\n"),
            std::string::npos);
  EXPECT_NE(pdf.find("/MediaBox [0 0 595 842]"), std::string::npos);
  EXPECT_NE(pdf.find("6 0 obj\n<< /Type /Pages\n/Kids [5 0 R]\n/Count 1\n>>\nendobj\n"), std::string::npos);
  EXPECT_TRUE(std::regex_search(pdf, std::regex("7 0 obj\n<< /Title \\(No Title\\)\n/CreationDate \\(D:\\d{14}\\)\n>>")));
}

// Text strings beyond ASCII go as UTF-16BE after the byte-order mark
// FE FF; ASCII stays as it is, escapes included.
TEST(PdfWriter, MetadataBeyondAsciiIsUtf16WithItsMark) {
  test::TScratchDir dir;
  TIOParams params;
  params.pdf_title = "Caf\xC3\xA9 (1)";            // "Café (1)"
  params.pdf_author = "Plain (ASCII) \\ text";
  params.pdf_subject = "\xE2\x82\xAC\xF0\x9F\x98\x80";  // euro sign, an emoji (a surrogate pair)
  params.pdf_keywords = "bad\xFF" "byte";
  const std::string pdf = SavePdf(dir, test::PhotoLike(4, 4), params);
  using namespace std::string_literals;
  EXPECT_NE(pdf.find("/Title (\xFE\xFF\0C\0a\0f\0\xE9\0 \0\\(\0001\0\\))"s), std::string::npos);
  EXPECT_NE(pdf.find("/Author (Plain \\(ASCII\\) \\\\ text)"), std::string::npos);
  EXPECT_NE(pdf.find("/Subject (\xFE\xFF\x20\xAC\xD8\x3D\xDE\x00)"s), std::string::npos);
  EXPECT_NE(pdf.find("/Keywords (\xFE\xFF\0b\0a\0d\xFF\xFD\0b\0y\0t\0e)"s), std::string::npos);
  // A PDF reader shows the text as it was given.
  if (std::system("command -v pdfinfo >/dev/null 2>&1") != 0) return;
  const std::string info = dir.File("info.txt");
  ASSERT_EQ(std::system(("pdfinfo -enc UTF-8 '" + dir.File("p.pdf") + "' > '" + info + "' 2>/dev/null").c_str()), 0);
  const auto shown = test::ReadBytes(info);
  const std::string text(shown.begin(), shown.end());
  EXPECT_NE(text.find("Caf\xC3\xA9 (1)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Plain (ASCII) \\ text\n"), std::string::npos) << text;
}

TEST(PdfWriter, CrossReferenceTablePointsAtEveryObject) {
  test::TScratchDir dir;
  TIOParams params;
  params.pdf_author = "A (b) \\c";
  const std::string pdf = SavePdf(dir, test::MonoPattern(33, 12), params);
  EXPECT_NE(pdf.find("/Author (A \\(b\\) \\\\c)"), std::string::npos);
  const std::size_t xref = pdf.rfind("xref\n0 8\n0000000000 65535 f \n");
  ASSERT_NE(xref, std::string::npos);
  for (int n = 1; n <= 7; ++n) {
    const std::string line = pdf.substr(xref + 29 + std::size_t(n - 1) * 20, 20);
    ASSERT_EQ(line.substr(10), " 00000 n \n");
    const std::size_t offset = std::stoul(line.substr(0, 10));
    EXPECT_EQ(pdf.substr(offset, std::to_string(n).size() + 6), std::to_string(n) + " 0 obj");
  }
  EXPECT_EQ(pdf.substr(xref + 29 + 7 * 20),
            "trailer\n<< /Size 8\n/Root 1 0 R\n/Info 7 0 R\n>>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n");
}

TEST(PdfWriter, BlackAndWhiteIsGroup4ByDefaultAndColourUsesJpegOnlyWhenAsked) {
  test::TScratchDir dir;
  TIOParams params;
  std::string pdf = SavePdf(dir, test::MonoPattern(20, 10), params);
  EXPECT_NE(pdf.find("/ColorSpace /DeviceGray\n/BitsPerComponent 1\n/Filter /CCITTFaxDecode\n/DecodeParms << /K -1 "
                     "/BlackIs1 true /Columns 20 /Rows 10 /EndOfLine false /Uncompressed true /EncodedByteAlign "
                     "false /EndOfBlock false >>"),
            std::string::npos);
  params.pdf_compression = kPdfCcittG3;
  EXPECT_NE(SavePdf(dir, test::MonoPattern(20, 10), params).find("/K 1 "), std::string::npos);
  params.pdf_compression = kPdfRunLength;
  EXPECT_NE(SavePdf(dir, test::MonoPattern(20, 10), params).find("/Filter [/RunLengthDecode]"), std::string::npos);
  params.pdf_compression = kPdfJpeg;
  EXPECT_NE(SavePdf(dir, test::PhotoLike(20, 10), params).find("/Filter /DCTDecode"), std::string::npos);
  params.pdf_compression = kPdfCcittG4;
  EXPECT_EQ(SavePdf(dir, test::PhotoLike(20, 10), params).find("/Filter"), std::string::npos);
}

// Renders page 1 with pdftoppm at four device pixels a point (the page is
// the picture's size) and takes the centre of each 4 x 4 block, away from
// the renderer's edge smoothing.
bool Render(const test::TScratchDir& dir, const std::string& pdf, TPictureBitmap& out) {
  if (std::system("command -v pdftoppm > /dev/null 2>&1") != 0) return false;
  const std::string cmd = "pdftoppm -r 288 -png -singlefile '" + dir.File(pdf) + "' '" + dir.File("render") + "'";
  if (std::system(cmd.c_str()) != 0) return false;
  TPictureBitmap big;
  TIOParams params;
  LoadPictureFile(dir.File("render.png"), big, params);
  out.Allocate(big.Width() / 4, big.Height() / 4);
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x) out.SetPixel(x, y, big.Pixel(4 * x + 2, 4 * y + 2));
  return true;
}

TEST(PdfWriter, RendererDrawsEveryCodingPixelForPixel) {
  test::TScratchDir dir;
  // Noise exercises every fax code; a 2700-pixel line the long make-up codes.
  TPictureBitmap noise(97, 31, PixelFormat::Mono1);
  unsigned seed = 3;
  for (int y = 0; y < noise.Height(); ++y)
    for (int x = 0; x < noise.Width(); ++x) {
      seed = seed * 1103515245 + 12345;
      noise.SetPixel(x, y, (seed >> 16) % 3 ? kWhite : kBlack);
    }
  TPictureBitmap wide(2700, 5, PixelFormat::Mono1);
  wide.Fill(kWhite);
  for (int x = 2600; x < 2700; ++x) wide.SetPixel(x, 1, kBlack);
  for (int x = 0; x < 2650; ++x) wide.SetPixel(x, 3, kBlack);
  const TPictureBitmap photo = test::PhotoLike(64, 40);
  for (const TPictureBitmap& mono : {test::MonoPattern(131, 57), noise, wide}) {
    for (int compression : {kPdfNone, kPdfRunLength, kPdfCcittG4, kPdfCcittG3}) {
      SCOPED_TRACE(std::to_string(mono.Width()) + " " + std::to_string(compression));
      TIOParams params;
      params.pdf_page_width = mono.Width();
      params.pdf_page_height = mono.Height();
      params.pdf_compression = compression;
      SavePdf(dir, mono, params, "m.pdf");
      TPictureBitmap rendered;
      if (!Render(dir, "m.pdf", rendered)) GTEST_SKIP() << "pdftoppm is not available";
      EXPECT_EQ(rendered, test::Expand(mono));
    }
  }
  TIOParams params;
  params.pdf_page_width = photo.Width();
  params.pdf_page_height = photo.Height();
  SavePdf(dir, photo, params, "c.pdf");
  TPictureBitmap rendered;
  ASSERT_TRUE(Render(dir, "c.pdf", rendered));
  EXPECT_EQ(rendered, photo);
  params.pdf_compression = kPdfJpeg;
  params.jpeg_quality = 95;
  SavePdf(dir, photo, params, "j.pdf");
  ASSERT_TRUE(Render(dir, "j.pdf", rendered));
  EXPECT_LE(test::MaxChannelDifference(rendered, photo), 40);
}

TEST(PdfWriter, OneBitPictureWithColourParametersTakesTheBlackAndWhitePath) {
  test::TScratchDir dir;
  TIOParams params;  // still 8 bits, 3 samples
  const std::string pdf = SavePdf(dir, test::MonoPattern(16, 16), params);
  EXPECT_NE(pdf.find("/DeviceGray"), std::string::npos);
}

}  // namespace
}  // namespace vistrel
