// The PNG writer: every filter, interlace and level gives a file that we,
// libpng (through ImageMagick) and pngcheck read with the same pixels; the
// parameters show in the file's bytes; row bands joined into one zlib
// stream inflate to the same data as one band; and the files stay as small
// as zlib makes them at the same level.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

#include "imaging/formats/picture_file.h"
#include "imaging/formats/png_deflate.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t BE32(const Bytes& b, std::size_t at) {
  return std::uint32_t(b.at(at)) << 24 | b.at(at + 1) << 16 | b.at(at + 2) << 8 | b.at(at + 3);
}

Bytes ImageData(const Bytes& png) {
  Bytes data;
  for (std::size_t at = 8; at + 12 <= png.size();) {
    const std::uint32_t n = BE32(png, at);
    if (std::memcmp(png.data() + at + 4, "IDAT", 4) == 0)
      data.insert(data.end(), png.begin() + long(at + 8), png.begin() + long(at + 8 + n));
    at += 12 + n;
  }
  return data;
}

Bytes Inflate(const Bytes& z) {
  z_stream s{};
  EXPECT_EQ(inflateInit(&s), Z_OK);
  Bytes out;
  std::uint8_t buf[1 << 16];
  s.next_in = const_cast<Bytef*>(z.data());
  s.avail_in = uInt(z.size());
  int rc;
  do {
    s.next_out = buf;
    s.avail_out = sizeof buf;
    rc = inflate(&s, Z_NO_FLUSH);
    out.insert(out.end(), buf, buf + (sizeof buf - s.avail_out));
  } while (rc == Z_OK);
  EXPECT_EQ(rc, Z_STREAM_END);
  EXPECT_EQ(s.avail_in, 0u) << "bytes after the zlib stream";
  inflateEnd(&s);
  return out;
}

// zlib's size for the same data at the same level, with libpng's settings.
std::size_t ZlibSize(const Bytes& raw, int level, bool filtered) {
  z_stream s{};
  EXPECT_EQ(deflateInit2(&s, level, Z_DEFLATED, 15, 9, filtered ? Z_FILTERED : Z_DEFAULT_STRATEGY), Z_OK);
  Bytes out(deflateBound(&s, uLong(raw.size())));
  s.next_in = const_cast<Bytef*>(raw.data());
  s.avail_in = uInt(raw.size());
  s.next_out = out.data();
  s.avail_out = uInt(out.size());
  EXPECT_EQ(deflate(&s, Z_FINISH), Z_STREAM_END);
  const std::size_t n = s.total_out;
  deflateEnd(&s);
  return n;
}

// Text-like windows with a photograph in one of them, over a smooth
// gradient wallpaper along the bottom.
TPictureBitmap Desktop(int w, int h) {
  TPictureBitmap p = test::ScreenshotLike(w, h);
  for (int y = h * 5 / 6; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.SetPixel(x, y, MakeColor(std::uint8_t(255 * x / w), std::uint8_t(255 * y / h), std::uint8_t(255 - 255 * x / w)));
  const TPictureBitmap photo = test::PhotoLike(w / 3, h / 3);
  for (int y = 0; y < photo.Height(); ++y)
    std::memcpy(p.Row(h / 2 + y) + 3 * (w / 2), photo.Row(y), std::size_t(photo.Width()) * 3);
  return p;
}

struct TLayout {
  const char* name;
  int bit_depth, color_type;
  std::vector<std::pair<const char*, const char*>> set;
};

const std::vector<TLayout>& Layouts() {
  static const std::vector<TLayout> layouts = {
      {"rgb", 8, 2, {}},
      {"palette8", 8, 3, {{"samples-per-pixel", "1"}}},
      {"palette4", 4, 3, {{"colors", "16"}}},
      {"palette2", 2, 3, {{"colors", "4"}}},
      {"black-white", 1, 0, {{"colors", "2"}, {"samples-per-pixel", "1"}, {"bits-per-sample", "1"}}},
  };
  return layouts;
}

const char* const kFilters[] = {"none", "sub", "up", "average", "paeth"};

TIOParams Params(const TLayout& layout, const char* filter, bool interlaced, int level) {
  TIOParams p;
  for (const auto& [name, value] : layout.set) EXPECT_TRUE(SetWriterParameter(p, name, value)) << name;
  EXPECT_TRUE(SetWriterParameter(p, "png-filter", filter));
  p.png_interlaced = interlaced;
  p.png_compression = level;
  return p;
}

Bytes Save(const test::TScratchDir& dir, const std::string& name, const TPictureBitmap& picture, const TIOParams& p) {
  SavePictureFile(dir.File(name), picture, p);
  return test::ReadBytes(dir.File(name));
}

int Shell(const std::string& command) { return std::system((command + " > /dev/null 2>&1").c_str()); }

// Odd sizes leave Adam7 passes short or empty; 1 x 1 has six empty passes.
TEST(PngWriter, EveryFilterInterlaceLevelAndLayoutReadsBackAlike) {
  test::TScratchDir dir;
  std::filesystem::create_directory(dir.Path() / "im");
  const TPictureBitmap pictures[] = {test::PhotoLike(37, 23), test::ScreenshotLike(2, 3), test::PhotoLike(1, 1)};
  struct TWritten {
    std::string file;
    TPictureBitmap expected;
  };
  std::vector<TWritten> written;
  for (const TLayout& layout : Layouts()) {
    for (std::size_t pi = 0; pi < std::size(pictures); ++pi) {
      // What the plain file of this layout holds; every other setting must agree.
      TPictureBitmap expected;
      TIOParams read;
      SavePictureFile(dir.File("plain.png"), pictures[pi], Params(layout, "none", false, 5));
      LoadPictureFile(dir.File("plain.png"), expected, read);
      for (const char* filter : kFilters)
        for (bool interlaced : {false, true})
          for (int level = 0; level <= 9; ++level) {
            const std::string name = std::string(layout.name) + "-" + std::to_string(pi) + "-" + filter + "-" +
                                     (interlaced ? "i" : "n") + std::to_string(level) + ".png";
            SCOPED_TRACE(name);
            const Bytes b = Save(dir, name, pictures[pi], Params(layout, filter, interlaced, level));
            EXPECT_EQ(b.at(24), layout.bit_depth);
            EXPECT_EQ(b.at(25), layout.color_type);
            TPictureBitmap back;
            LoadPictureFile(dir.File(name), back, read);
            EXPECT_EQ(read.png_interlaced, interlaced);
            EXPECT_EQ(test::MaxChannelDifference(test::Expand(back), test::Expand(expected)), 0);
            if (pi == 0 && (level == 0 || level == 1 || level == 9)) written.push_back({name, expected});
          }
    }
  }
  if (std::filesystem::exists("/usr/bin/pngcheck"))
    EXPECT_EQ(Shell("cd '" + dir.Path().string() + "' && pngcheck -q *.png"), 0);
  if (!std::filesystem::exists("/usr/bin/mogrify")) return;
  // libpng's reading, one ImageMagick run for all files.
  ASSERT_EQ(Shell("cd '" + dir.Path().string() + "' && mogrify -path im -format ppm -depth 8 " +
                  [&] {
                    std::string names;
                    for (const TWritten& w : written) names += "'" + w.file + "' ";
                    return names;
                  }()),
            0);
  for (const TWritten& w : written) {
    SCOPED_TRACE(w.file);
    TPictureBitmap im;
    TIOParams read;
    LoadPictureFile((dir.Path() / "im" / std::filesystem::path(w.file).replace_extension(".ppm")).string(), im, read);
    EXPECT_EQ(test::MaxChannelDifference(im, test::Expand(w.expected)), 0);
  }
}

TEST(PngWriter, InterlaceLevelAndFilterShowInTheBytes) {
  test::TScratchDir dir;
  const TPictureBitmap shot = test::ScreenshotLike(64, 40);
  const TLayout& rgb = Layouts().front();
  EXPECT_EQ(Save(dir, "n.png", shot, Params(rgb, "none", false, 5)).at(28), 0);  // IHDR interlace method
  EXPECT_EQ(Save(dir, "i.png", shot, Params(rgb, "none", true, 5)).at(28), 1);

  std::size_t previous = 0;
  for (int level = 0; level <= 9; ++level) {
    SCOPED_TRACE(level);
    const Bytes z = ImageData(Save(dir, "l.png", shot, Params(rgb, "none", false, level)));
    // The zlib header's speed class is zlib's own for the level.
    EXPECT_EQ(z.at(1) >> 6, level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3);
    EXPECT_EQ((z.at(0) * 256 + z.at(1)) % 31, 0);
    if (level == 0) {
      EXPECT_EQ(z.at(2) & 6, 0) << "level 0 stores";
      EXPECT_GT(z.size(), std::size_t(64 * 40 * 3));
    } else {
      EXPECT_LT(z.size(), std::size_t(64 * 40 * 3) / 4);
    }
    if (level == 1) previous = z.size();
    if (level == 9) EXPECT_LE(z.size(), previous);
  }

  for (bool interlaced : {false, true})
    for (int type = 0; type < 5; ++type) {
      SCOPED_TRACE(std::string(kFilters[type]) + (interlaced ? " interlaced" : ""));
      const Bytes raw = Inflate(ImageData(Save(dir, "f.png", shot, Params(rgb, kFilters[type], interlaced, 5))));
      // Every scanline starts with the filter byte; walk them pass by pass.
      std::set<int> seen;
      const int x0[] = {0, 4, 0, 2, 0, 1, 0}, y0[] = {0, 0, 4, 0, 2, 0, 1};
      const int dx[] = {8, 8, 4, 4, 2, 2, 1}, dy[] = {8, 8, 8, 4, 4, 2, 2};
      std::size_t at = 0;
      for (int p = 0; p < (interlaced ? 7 : 1); ++p) {
        const int w = interlaced ? (64 - x0[p] + dx[p] - 1) / dx[p] : 64;
        const int rows = interlaced ? (40 - y0[p] + dy[p] - 1) / dy[p] : 40;
        for (int y = 0; y < rows; ++y, at += 1 + 3 * std::size_t(w)) seen.insert(raw.at(at));
      }
      EXPECT_EQ(at, raw.size());
      EXPECT_EQ(seen, std::set<int>{type});
    }
}

// Bands meet at byte boundaries inside one zlib stream, whatever their number.
TEST(PngWriter, RowBandsJoinIntoOneStream) {
  const TPictureBitmap desk = Desktop(300, 200);
  TPngImageRows image{desk.Row(0), desk.Stride(), desk.Width(), desk.Height(), 24, true, false};
  for (bool interlaced : {false, true})
    for (TPngFilter filter : {TPngFilter::None, TPngFilter::Paeth}) {
      image.interlaced = interlaced;
      const TPngScanlines lines(image, filter);
      const Bytes whole = Inflate(CompressPngImageData(lines, 5, 1));
      ASSERT_EQ(whole.size(), lines.FilteredSize(0, lines.Count()));
      for (int level : {0, 1, 6, 9})
        for (int bands : {2, 3, 7, 200, lines.Count() + 5}) {
          SCOPED_TRACE(std::to_string(level) + " in " + std::to_string(bands) + " bands");
          EXPECT_EQ(Inflate(CompressPngImageData(lines, level, bands)), whole);
        }
    }
}

// A screenshot of a desktop with a gradient wallpaper and text windows:
// on such pictures some fast libdeflate levels fall far behind zlib.
TEST(PngWriter, AsSmallAsZlibAtEveryLevel) {
  test::TScratchDir dir;
  TPictureBitmap desk;
  TIOParams read;
  LoadPictureFile(VISTREL_PICTURES_DIR "/desktop-screenshot.png", desk, read);
  for (const char* filter : {"none", "up", "paeth"})
    for (int level = 1; level <= 9; ++level) {
      SCOPED_TRACE(std::string(filter) + " level " + std::to_string(level));
      const Bytes z = ImageData(Save(dir, "s.png", desk, Params(Layouts().front(), filter, false, level)));
      const std::size_t zlib = ZlibSize(Inflate(z), level, std::strcmp(filter, "none") != 0);
      EXPECT_LE(double(z.size()), 1.02 * double(zlib)) << "zlib: " << zlib;
    }
}

}  // namespace
}  // namespace vistrel
