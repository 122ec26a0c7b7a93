// Every writer parameter shows in the bytes of the file written with it:
// each case writes a file with the defaults and one with the parameter set,
// and looks at the place where the format keeps it.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <set>
#include <sstream>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t LE16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t LE32(const Bytes& b, std::size_t at) { return LE16(b, at) | LE16(b, at + 2) << 16; }
std::uint32_t BE32(const Bytes& b, std::size_t at) {
  return std::uint32_t(b.at(at)) << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 | b.at(at + 3);
}

std::size_t Find(const Bytes& b, std::string_view what) {
  const auto it = std::search(b.begin(), b.end(), what.begin(), what.end(),
                              [](std::uint8_t x, char y) { return x == static_cast<std::uint8_t>(y); });
  return it == b.end() ? std::string::npos : std::size_t(it - b.begin());
}
bool Has(const Bytes& b, std::string_view what) { return Find(b, what) != std::string::npos; }

// The data of a PNG chunk.
Bytes Chunk(const Bytes& png, const char* type) {
  Bytes data;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t n = BE32(png, at);
    if (std::memcmp(png.data() + at + 4, type, 4) == 0) data.insert(data.end(), png.begin() + long(at + 8), png.begin() + long(at + 8 + n));
    at += 12 + n;
  }
  return data;
}

// The filter byte of each row of a non-interlaced 8-bit RGB PNG.
std::set<int> RowFilters(const Bytes& png, int width, int height) {
  const Bytes z = Chunk(png, "IDAT");
  Bytes raw(std::size_t(height) * (std::size_t(width) * 3 + 1));
  uLongf n = uLongf(raw.size());
  EXPECT_EQ(uncompress(raw.data(), &n, z.data(), uLong(z.size())), Z_OK);
  std::set<int> filters;
  for (int y = 0; y < height; ++y) filters.insert(raw[std::size_t(y) * (std::size_t(width) * 3 + 1)]);
  return filters;
}

// The value of a tag of the first TIFF directory (little-endian files).
std::uint32_t TiffTag(const Bytes& tif, int tag) {
  const std::size_t ifd = LE32(tif, 4);
  const std::uint32_t count = LE16(tif, ifd);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t e = ifd + 2 + 12 * std::size_t(i);
    if (int(LE16(tif, e)) == tag) return LE16(tif, e + 2) == 3 ? LE16(tif, e + 8) : LE32(tif, e + 8);
  }
  return 0xFFFFFFFF;
}

std::size_t JpegMarker(const Bytes& j, std::uint8_t marker) {
  return Find(j, std::string{char(0xFF), char(marker)});
}

enum class TPicture { Photo, Screenshot, Mono, RedWhite };

struct TByteCase {
  const char* name;
  const char* value;
  const char* ext;
  std::function<void(const Bytes& set, const Bytes& base)> check;
  TPicture picture = TPicture::Photo;
  std::vector<std::pair<const char*, const char*>> also = {};  // set on both files first
};

// GIF offsets with the default 256-entry global table.
constexpr std::size_t kGce = 13 + 768, kDesc = kGce + 8;

const std::vector<TByteCase>& Cases() {
  static const std::vector<TByteCase> cases = {
      {"bits-per-sample", "4", "bmp", [](const Bytes& b, const Bytes& base) { EXPECT_EQ(b[28], 4); EXPECT_EQ(base[28], 24); }},
      {"samples-per-pixel", "1", "bmp", [](const Bytes& b, const Bytes&) { EXPECT_EQ(b[28], 8); }},
      {"colors", "2", "bmp", [](const Bytes& b, const Bytes&) { EXPECT_EQ(b[28], 1); }},
      {"dpi", "300", "bmp", [](const Bytes& b, const Bytes&) { EXPECT_EQ(LE32(b, 38), 11811u); EXPECT_EQ(LE32(b, 42), 11811u); }},
      {"dpi", "300", "png", [](const Bytes& b, const Bytes&) {
         EXPECT_EQ(Chunk(b, "pHYs"), (Bytes{0, 0, 0x2E, 0x23, 0, 0, 0x2E, 0x23, 1}));
       }},
      {"dpi", "300", "jpg", [](const Bytes& b, const Bytes&) {
         const std::size_t app0 = Find(b, std::string_view("JFIF\0", 5));
         ASSERT_NE(app0, std::string::npos);
         EXPECT_EQ(b[app0 + 7], 1);  // dots per inch
         EXPECT_EQ(b[app0 + 8] << 8 | b[app0 + 9], 300);
       }},
      {"dpi", "300", "pcx", [](const Bytes& b, const Bytes&) { EXPECT_EQ(LE16(b, 12), 300u); }},
      {"gif-version", "GIF87a", "gif", [](const Bytes& b, const Bytes&) { EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "GIF87a"); }},
      {"gif-transparent", "1", "gif", [](const Bytes& b, const Bytes& base) { EXPECT_EQ(b[kGce + 3], 0x09); EXPECT_EQ(base[kGce + 3], 0x08); }},
      {"gif-transparent-color", "FF0000", "gif", [](const Bytes& b, const Bytes& base) { EXPECT_EQ(b[kGce + 6], 0); EXPECT_EQ(base[kGce + 6], 2); }, TPicture::RedWhite},
      {"gif-background", "FFFFFF", "gif", [](const Bytes& b, const Bytes& base) { EXPECT_EQ(b[11], 1); EXPECT_EQ(base[11], 2); }, TPicture::RedWhite},
      {"gif-interlaced", "1", "gif", [](const Bytes& b, const Bytes& base) { EXPECT_EQ(b[kDesc + 9], 0x40); EXPECT_EQ(base[kDesc + 9], 0); }},
      {"gif-delay", "500", "gif", [](const Bytes& b, const Bytes&) { EXPECT_EQ(LE16(b, kGce + 4), 500u); }},
      {"gif-left", "7", "gif", [](const Bytes& b, const Bytes&) { EXPECT_EQ(LE16(b, kDesc + 1), 7u); }},
      {"gif-top", "9", "gif", [](const Bytes& b, const Bytes&) { EXPECT_EQ(LE16(b, kDesc + 3), 9u); }},
      {"gif-comment", "hello", "gif", [](const Bytes& b, const Bytes&) { EXPECT_TRUE(Has(b, std::string_view("\x21\xFE\x05hello\x00\x3B", 10))); }},
      {"jpeg-quality", "20", "jpg", [](const Bytes& b, const Bytes& base) {
         // The first luminance table entry grows as the quality falls.
         EXPECT_GT(b[JpegMarker(b, 0xDB) + 5], base[JpegMarker(base, 0xDB) + 5]);
       }},
      {"jpeg-smoothing", "60", "jpg", [](const Bytes& b, const Bytes& base) { EXPECT_NE(b, base); EXPECT_EQ(b[JpegMarker(b, 0xC0) + 9], 3); }},
      {"jpeg-optimal", "1", "jpg", [](const Bytes& b, const Bytes& base) { EXPECT_LT(b.size(), base.size()); }},
      {"jpeg-progressive", "1", "jpg", [](const Bytes& b, const Bytes& base) {
         EXPECT_NE(JpegMarker(b, 0xC2), std::string::npos);
         EXPECT_EQ(JpegMarker(base, 0xC2), std::string::npos);
       }},
      {"jpeg-dct", "ifast", "jpg", [](const Bytes& b, const Bytes& base) { EXPECT_NE(b, base); }},
      {"jpeg-colorspace", "gray", "jpg", [](const Bytes& b, const Bytes& base) {
         EXPECT_EQ(b[JpegMarker(b, 0xC0) + 9], 1);
         EXPECT_EQ(base[JpegMarker(base, 0xC0) + 9], 3);
       }},
      {"jpeg-colorspace", "rgb", "jpg", [](const Bytes& b, const Bytes&) { EXPECT_EQ(b[JpegMarker(b, 0xC0) + 10], 'R'); }},
      {"png-compression", "0", "png", [](const Bytes& b, const Bytes& base) {
         EXPECT_GT(Chunk(b, "IDAT").size(), std::size_t(40 * 30 * 3));  // stored, not deflated
         EXPECT_LT(Chunk(base, "IDAT").size(), Chunk(b, "IDAT").size());
       }, TPicture::Screenshot},
      {"png-filter", "paeth", "png", [](const Bytes& b, const Bytes& base) {
         EXPECT_EQ(RowFilters(b, 40, 30), std::set<int>{4});
         EXPECT_EQ(RowFilters(base, 40, 30), std::set<int>{0});
       }},
      {"png-background", "FF8000", "png", [](const Bytes& b, const Bytes& base) {
         EXPECT_EQ(Chunk(b, "bKGD"), (Bytes{0, 0xFF, 0, 0x80, 0, 0}));
         EXPECT_EQ(Chunk(base, "bKGD"), (Bytes{0, 0, 0, 0, 0, 0}));
       }},
      {"tiff-compression", "lzw", "tif", [](const Bytes& b, const Bytes& base) { EXPECT_EQ(TiffTag(b, 259), 5u); EXPECT_EQ(TiffTag(base, 259), 1u); }},
      {"tiff-compression", "g4fax", "tif", [](const Bytes& b, const Bytes&) { EXPECT_EQ(TiffTag(b, 259), 4u); }, TPicture::Mono},
      {"tiff-compression", "packbits", "tif", [](const Bytes& b, const Bytes&) { EXPECT_EQ(TiffTag(b, 259), 32773u); }},
      {"bmp-compression", "rle", "bmp", [](const Bytes& b, const Bytes& base) { EXPECT_EQ(LE32(b, 30), 1u); EXPECT_EQ(LE32(base, 30), 0u); },
       TPicture::Photo, {{"samples-per-pixel", "1"}}},
      {"bmp-header", "os2", "bmp", [](const Bytes& b, const Bytes& base) { EXPECT_EQ(LE32(b, 14), 12u); EXPECT_EQ(LE32(base, 14), 40u); }},
      {"pcx-compression", "none", "pcx", [](const Bytes& b, const Bytes& base) { EXPECT_EQ(b[2], 0); EXPECT_EQ(base[2], 1); }},
      {"pcx-version", "3", "pcx", [](const Bytes& b, const Bytes& base) { EXPECT_EQ(b[1], 3); EXPECT_EQ(base[1], 5); }},
      {"jp2-rate", "0.05", "jp2", [](const Bytes& b, const Bytes& base) { EXPECT_LT(b.size() * 4, base.size()); }},
      {"jp2-progression", "rlcp", "j2k", [](const Bytes& b, const Bytes& base) {
         EXPECT_EQ(b[JpegMarker(b, 0x52) + 5], 1);
         EXPECT_EQ(base[JpegMarker(base, 0x52) + 5], 0);
       }},
      {"jp2-options", "rate=0.05 prg=rlcp", "j2k", [](const Bytes& b, const Bytes& base) {
         EXPECT_EQ(b[JpegMarker(b, 0x52) + 5], 1);
         EXPECT_LT(b.size() * 4, base.size());
       }},
      {"ico-images", "32x32x4,16x16x24", "ico", [](const Bytes& b, const Bytes& base) {
         EXPECT_EQ(LE16(b, 4), 2u);
         EXPECT_EQ(b[6], 32);
         EXPECT_EQ(b[8], 16);
         EXPECT_EQ(LE16(b, 12), 4u);
         EXPECT_EQ(b[6 + 16], 16);
         EXPECT_EQ(LE16(b, 12 + 16), 24u);
         EXPECT_EQ(base[6], 64);
       }},
      {"pdf-compression", "1", "pdf", [](const Bytes& b, const Bytes& base) {
         EXPECT_TRUE(Has(b, "/Filter [/RunLengthDecode]"));
         EXPECT_TRUE(Has(base, "/Filter /CCITTFaxDecode"));
       }, TPicture::Mono},
      {"pdf-page-width", "300", "pdf", [](const Bytes& b, const Bytes&) { EXPECT_TRUE(Has(b, "/MediaBox [0 0 300 842]")); }},
      {"pdf-page-height", "400", "pdf", [](const Bytes& b, const Bytes&) { EXPECT_TRUE(Has(b, "/MediaBox [0 0 595 400]")); }},
      {"pdf-title", "Hello", "pdf", [](const Bytes& b, const Bytes&) { EXPECT_TRUE(Has(b, "/Title (Hello)")); }},
      {"pdf-author", "Ann", "pdf", [](const Bytes& b, const Bytes&) { EXPECT_TRUE(Has(b, "/Author (Ann)")); }},
      {"pdf-subject", "Sub", "pdf", [](const Bytes& b, const Bytes&) { EXPECT_TRUE(Has(b, "/Subject (Sub)")); }},
      {"pdf-keywords", "k1 k2", "pdf", [](const Bytes& b, const Bytes&) { EXPECT_TRUE(Has(b, "/Keywords (k1 k2)")); }},
      {"pdf-creator", "Cre", "pdf", [](const Bytes& b, const Bytes&) { EXPECT_TRUE(Has(b, "/Creator (Cre)")); }},
      {"pdf-producer", "Pro", "pdf", [](const Bytes& b, const Bytes&) { EXPECT_TRUE(Has(b, "/Producer (Pro)")); }},
  };
  return cases;
}

// Parameters whose bytes are checked in the tests of their own writer.
const std::set<std::string> kCheckedElsewhere = {"png-interlaced"};

TPictureBitmap PictureFor(TPicture kind) {
  switch (kind) {
    case TPicture::Mono: return test::MonoPattern(40, 30);
    case TPicture::Screenshot: return test::ScreenshotLike(40, 30);
    case TPicture::RedWhite: {
      TPictureBitmap p(40, 30);
      p.Fill(MakeColor(255, 0, 0));
      p.SetPixel(5, 5, kWhite);
      return p;
    }
    case TPicture::Photo: break;
  }
  return test::PhotoLike(40, 30);
}

TEST(WriterParameterBytes, EveryParameterShowsInTheFile) {
  test::TScratchDir dir;
  for (const TByteCase& c : Cases()) {
    SCOPED_TRACE(std::string(c.name) + "=" + c.value + " in ." + c.ext);
    const TPictureBitmap picture = PictureFor(c.picture);
    TIOParams base;
    for (const auto& [name, value] : c.also) ASSERT_TRUE(SetWriterParameter(base, name, value));
    TIOParams set = base;
    ASSERT_TRUE(SetWriterParameter(set, c.name, c.value));
    SavePictureFile(dir.File(std::string("base.") + c.ext), picture, base);
    SavePictureFile(dir.File(std::string("set.") + c.ext), picture, set);
    c.check(test::ReadBytes(dir.File(std::string("set.") + c.ext)), test::ReadBytes(dir.File(std::string("base.") + c.ext)));
  }
}

// A parameter added without a byte check fails here.
TEST(WriterParameterBytes, EveryParameterHasACase) {
  std::set<std::string> covered = kCheckedElsewhere;
  for (const TByteCase& c : Cases()) covered.insert(c.name);
  std::istringstream help(WriterParameterHelp());
  for (std::string line; std::getline(help, line);) {
    const std::string name = line.substr(0, line.find(' '));
    EXPECT_TRUE(covered.count(name)) << name << " has no byte check";
  }
}

}  // namespace
}  // namespace vistrel
