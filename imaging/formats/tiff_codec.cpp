// TIFF through libtiff, over memory when reading and over the open file when
// writing. Errors come back through per-handle handlers, never stderr.
#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <memory>

#include "imaging/formats/color_layout.h"
#include "imaging/formats/format_codecs.h"
#include "imaging/formats/pixel_packing.h"

namespace vistrel {
namespace {

// Largest single allocation libtiff may make for a hostile file.
constexpr tmsize_t kMaxTiffAlloc = tmsize_t(1) << 30;

struct TTiffMessages {
  std::string error;
};

int OnTiffError(TIFF*, void* user, const char*, const char* fmt, va_list ap) {
  auto* m = static_cast<TTiffMessages*>(user);
  if (m->error.empty()) {
    char text[256];
    std::vsnprintf(text, sizeof text, fmt, ap);
    m->error = text;
  }
  return 1;
}

int OnTiffWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TOptions {
  TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
  explicit TOptions(TTiffMessages& m) {
    TIFFOpenOptionsSetMaxSingleMemAlloc(opts, kMaxTiffAlloc);
    TIFFOpenOptionsSetErrorHandlerExtR(opts, OnTiffError, &m);
    TIFFOpenOptionsSetWarningHandlerExtR(opts, OnTiffWarning, nullptr);
  }
  ~TOptions() { TIFFOpenOptionsFree(opts); }
};

struct TTiffCloser {
  void operator()(TIFF* t) const { TIFFClose(t); }
};
using TTiffPtr = std::unique_ptr<TIFF, TTiffCloser>;

// ---- memory source ----

struct TMemory {
  TByteSpan data;
  toff_t pos = 0;
};

tmsize_t MemRead(thandle_t h, void* buf, tmsize_t n) {
  auto* m = static_cast<TMemory*>(h);
  if (n < 0 || m->pos >= m->data.size()) return 0;
  const tmsize_t take = std::min<tmsize_t>(n, tmsize_t(m->data.size() - m->pos));
  std::memcpy(buf, m->data.data() + m->pos, std::size_t(take));
  m->pos += toff_t(take);
  return take;
}
tmsize_t MemWrite(thandle_t, void*, tmsize_t) { return 0; }
toff_t MemSeek(thandle_t h, toff_t off, int whence) {
  auto* m = static_cast<TMemory*>(h);
  const toff_t base = whence == SEEK_CUR ? m->pos : whence == SEEK_END ? m->data.size() : 0;
  m->pos = base + off;
  return m->pos;
}
int MemClose(thandle_t) { return 0; }
toff_t MemSize(thandle_t h) { return static_cast<TMemory*>(h)->data.size(); }
int MemMap(thandle_t h, void** base, toff_t* size) {
  auto* m = static_cast<TMemory*>(h);
  *base = const_cast<std::uint8_t*>(m->data.data());
  *size = m->data.size();
  return 1;
}
void MemUnmap(thandle_t, void*, toff_t) {}

// ---- file sink ----

tmsize_t FileRead(thandle_t, void*, tmsize_t) { return 0; }
tmsize_t FileWrite(thandle_t h, void* buf, tmsize_t n) {
  return tmsize_t(std::fwrite(buf, 1, std::size_t(n), static_cast<std::FILE*>(h)));
}
toff_t FileSeek(thandle_t h, toff_t off, int whence) {
  auto* f = static_cast<std::FILE*>(h);
  if (fseeko(f, off_t(off), whence) != 0) return toff_t(-1);
  return toff_t(ftello(f));
}
int FileClose(thandle_t) { return 0; }
// The stream need not have a descriptor of its own: measure by seeking.
toff_t FileSize(thandle_t h) {
  auto* f = static_cast<std::FILE*>(h);
  const off_t here = ftello(f);
  if (here < 0 || fseeko(f, 0, SEEK_END) != 0) return 0;
  const off_t size = ftello(f);
  fseeko(f, here, SEEK_SET);
  return size < 0 ? 0 : toff_t(size);
}
int NoMap(thandle_t, void**, toff_t*) { return 0; }

TTiffCompression CompressionFromTag(int tag, int g3options) {
  switch (tag) {
    case COMPRESSION_CCITTRLE: return TTiffCompression::Ccitt1D;
    case COMPRESSION_CCITTFAX3:
      return (g3options & GROUP3OPT_2DENCODING) ? TTiffCompression::G3Fax2D : TTiffCompression::G3Fax1D;
    case COMPRESSION_CCITTFAX4: return TTiffCompression::G4Fax;
    case COMPRESSION_LZW: return TTiffCompression::Lzw;
    case COMPRESSION_JPEG:
    case COMPRESSION_OJPEG: return TTiffCompression::Jpeg;
    case COMPRESSION_PACKBITS: return TTiffCompression::PackBits;
    default: return TTiffCompression::None;
  }
}

TTiffPhotometric PhotometricFromTag(int tag) {
  switch (tag) {
    case PHOTOMETRIC_MINISWHITE: return TTiffPhotometric::WhiteIsZero;
    case PHOTOMETRIC_MINISBLACK: return TTiffPhotometric::BlackIsZero;
    case PHOTOMETRIC_RGB: return TTiffPhotometric::Rgb;
    case PHOTOMETRIC_PALETTE: return TTiffPhotometric::Palette;
    case PHOTOMETRIC_YCBCR: return TTiffPhotometric::YCbCr;
    case PHOTOMETRIC_SEPARATED: return TTiffPhotometric::Separated;
    default: return TTiffPhotometric::Other;
  }
}

[[noreturn]] void Fail(const TTiffMessages& m, const char* fallback) {
  throw FormatError(m.error.empty() ? fallback : m.error);
}

void ReadBilevel(TIFF* tif, const TTiffMessages& m, bool white_is_zero, TPictureBitmap& picture) {
  const tmsize_t line = TIFFScanlineSize(tif);
  const std::size_t bytes = (std::size_t(picture.Width()) + 7) / 8;
  if (line <= 0 || std::size_t(line) < bytes) Fail(m, "Bad scan line size");
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(line));
  for (int y = 0; y < picture.Height(); ++y) {
    if (TIFFReadScanline(tif, buffer.data(), std::uint32_t(y), 0) < 0) Fail(m, "Cannot read scan line");
    std::uint8_t* out = picture.Row(y);
    for (std::size_t k = 0; k < bytes; ++k) out[k] = white_is_zero ? std::uint8_t(~buffer[k]) : buffer[k];
  }
}

// 8-bit RGB or grey in strips, the common case, read row by row without
// libtiff's general RGBA conversion.
bool IsPlainEightBit(TIFF* tif, std::uint16_t bps, std::uint16_t spp, std::uint16_t photometric) {
  std::uint16_t planar = PLANARCONFIG_CONTIG;
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
  return !TIFFIsTiled(tif) && bps == 8 && planar == PLANARCONFIG_CONTIG &&
         ((photometric == PHOTOMETRIC_RGB && spp == 3) || (photometric == PHOTOMETRIC_MINISBLACK && spp == 1));
}

void ReadPlainEightBit(TIFF* tif, const TTiffMessages& m, int spp, TPictureBitmap& picture) {
  const tmsize_t line = TIFFScanlineSize(tif);
  const std::size_t bytes = std::size_t(picture.Width()) * spp;
  if (line <= 0 || std::size_t(line) < bytes) Fail(m, "Bad scan line size");
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(line));
  for (int y = 0; y < picture.Height(); ++y) {
    if (TIFFReadScanline(tif, buffer.data(), std::uint32_t(y), 0) < 0) Fail(m, "Cannot read scan line");
    std::uint8_t* out = picture.Row(y);
    const std::uint8_t* in = buffer.data();
    for (int x = 0; x < picture.Width(); ++x, out += 3, in += spp) {
      out[0] = in[spp == 3 ? 2 : 0];
      out[1] = in[spp == 3 ? 1 : 0];
      out[2] = in[0];
    }
  }
}

void ReadRgba(TIFF* tif, TTiffMessages& m, TPictureBitmap& picture) {
  char emsg[1024] = "";
  if (!TIFFRGBAImageOK(tif, emsg)) throw FormatError(emsg);
  TIFFRGBAImage img{};
  if (!TIFFRGBAImageBegin(&img, tif, 0, emsg)) throw FormatError(emsg);
  struct TEnd {
    TIFFRGBAImage* img;
    ~TEnd() { TIFFRGBAImageEnd(img); }
  } end{&img};
  img.req_orientation = ORIENTATION_TOPLEFT;
  const int w = picture.Width(), h = picture.Height();
  // Bands of whole strips or tiles, so each is decoded about once.
  std::uint32_t unit = 0;
  if (TIFFIsTiled(tif)) TIFFGetField(tif, TIFFTAG_TILELENGTH, &unit);
  else TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &unit);
  const std::int64_t budget = std::max<std::int64_t>(1, (std::int64_t(64) << 20) / (std::int64_t(w) * 4));
  const int band = int(std::clamp<std::int64_t>(std::max<std::int64_t>(unit, budget), 1, h));
  std::vector<std::uint32_t> raster(std::size_t(w) * std::size_t(band));
  for (int y = 0; y < h; y += band) {
    const int n = std::min(band, h - y);
    img.row_offset = y;
    if (!TIFFRGBAImageGet(&img, raster.data(), std::uint32_t(w), std::uint32_t(n))) Fail(m, "Cannot read pixels");
    for (int i = 0; i < n; ++i) {
      std::uint8_t* out = picture.Row(y + i);
      const std::uint32_t* px = raster.data() + std::size_t(i) * w;
      for (int x = 0; x < w; ++x, out += 3) {
        // Premultiplied by alpha: what is missing is white.
        const int white = 255 - int(TIFFGetA(px[x]));
        out[0] = std::uint8_t(std::min(255, int(TIFFGetB(px[x])) + white));
        out[1] = std::uint8_t(std::min(255, int(TIFFGetG(px[x])) + white));
        out[2] = std::uint8_t(std::min(255, int(TIFFGetR(px[x])) + white));
      }
    }
  }
}

// How far a coding may expand its bytes at most, or 0 where it has no bound
// worth checking (fax codings draw a blank row from a bit, JPEG from little).
double MostExpansion(std::uint16_t compression) {
  switch (compression) {
    case COMPRESSION_NONE: return 1;
    case COMPRESSION_PACKBITS: return 64;                // 128 bytes from a run of two
    case COMPRESSION_LZW: return 4096.0 * 8 / 9;         // a code of 9 bits or more per string
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return 1032;
    default: return 0;
  }
}

// Whether the strips' or tiles' bytes present in the file, expanded as far
// as their coding goes, can hold every sample the header claims.
bool StripsCanHold(TIFF* tif, TByteSpan data, std::uint64_t w, std::uint64_t h, int bps, int spp,
                   std::uint16_t photometric, std::uint16_t compression) {
  const double expansion = MostExpansion(compression);
  if (expansion == 0) return true;
  const std::uint32_t striles = TIFFIsTiled(tif) ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
  if (striles > data.size() / 2) return false;  // not even their offsets fit in the file
  std::uint64_t present = 0;
  for (std::uint32_t i = 0; i < striles; ++i) {
    const std::uint64_t offset = TIFFGetStrileOffset(tif, i);
    if (offset < data.size()) present += std::min<std::uint64_t>(TIFFGetStrileByteCount(tif, i), data.size() - offset);
  }
  // Subsampled colour may store little more than its brightness.
  const int samples = photometric == PHOTOMETRIC_YCBCR ? 1 : std::max(spp, 1);
  const double needed = double(w) * double(h) * double(std::max(bps, 1)) * samples / 8;
  return needed <= (double(present) + 1) * expansion;
}

}  // namespace

void ReadTiff(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  if (data.size() < 8) throw FormatError("Not a TIFF file");
  TTiffMessages m;
  TOptions options(m);
  TMemory mem{data};
  TTiffPtr tif(TIFFClientOpenExt("memory", "rm", &mem, MemRead, MemWrite, MemSeek, MemClose, MemSize,
                                 MemMap, MemUnmap, options.opts));
  if (!tif) Fail(m, "Not a TIFF file");
  std::uint32_t w = 0, h = 0;
  std::uint16_t bps = 1, spp = 1, photometric = PHOTOMETRIC_MINISWHITE, compression = COMPRESSION_NONE;
  std::uint32_t g3 = 0;
  if (!TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h))
    Fail(m, "TIFF without picture size");
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bps);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
  TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_COMPRESSION, &compression);
  if (compression == COMPRESSION_CCITTFAX3) TIFFGetField(tif.get(), TIFFTAG_GROUP3OPTIONS, &g3);
  CheckPictureSize(w, h);
  if (!StripsCanHold(tif.get(), data, w, h, bps, spp, photometric, compression))
    throw FormatError("Unexpected end of file");

  const bool bilevel = bps == 1 && spp == 1 && !TIFFIsTiled(tif.get()) &&
                       (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE);
  TPictureBitmap result(int(w), int(h), bilevel ? PixelFormat::Mono1 : PixelFormat::Bgr24);
  if (bilevel) ReadBilevel(tif.get(), m, photometric == PHOTOMETRIC_MINISWHITE, result);
  else if (IsPlainEightBit(tif.get(), bps, spp, photometric)) ReadPlainEightBit(tif.get(), m, spp, result);
  else ReadRgba(tif.get(), m, result);

  float xres = 0, yres = 0;
  std::uint16_t unit = RESUNIT_INCH;
  TIFFGetFieldDefaulted(tif.get(), TIFFTAG_RESOLUTIONUNIT, &unit);
  if (TIFFGetField(tif.get(), TIFFTAG_XRESOLUTION, &xres) && TIFFGetField(tif.get(), TIFFTAG_YRESOLUTION, &yres) &&
      std::isfinite(xres) && std::isfinite(yres) && xres >= 1 && yres >= 1 && xres < 1e6 && yres < 1e6 &&
      unit != RESUNIT_NONE) {
    const double scale = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
    params.dpi_x = int(std::lround(xres * scale));
    params.dpi_y = int(std::lround(yres * scale));
  }
  params.bits_per_sample = bps;
  params.samples_per_pixel = spp;
  params.tiff_compression = CompressionFromTag(compression, int(g3));
  params.tiff_photometric = PhotometricFromTag(photometric);
  picture = std::move(result);
}

namespace {

// The compression actually written: fax codings need a bilevel picture,
// JPEG needs 8-bit samples, and a coder missing from libtiff means none.
std::uint16_t CompressionTag(TTiffCompression c, bool bilevel, bool palette) {
  std::uint16_t tag = COMPRESSION_NONE;
  switch (c) {
    case TTiffCompression::None: tag = COMPRESSION_NONE; break;
    case TTiffCompression::Ccitt1D: tag = bilevel ? COMPRESSION_CCITTRLE : COMPRESSION_NONE; break;
    case TTiffCompression::G3Fax1D:
    case TTiffCompression::G3Fax2D: tag = bilevel ? COMPRESSION_CCITTFAX3 : COMPRESSION_NONE; break;
    case TTiffCompression::G4Fax: tag = bilevel ? COMPRESSION_CCITTFAX4 : COMPRESSION_NONE; break;
    case TTiffCompression::Lzw: tag = COMPRESSION_LZW; break;
    case TTiffCompression::Jpeg: tag = bilevel || palette ? COMPRESSION_NONE : COMPRESSION_JPEG; break;
    case TTiffCompression::PackBits: tag = COMPRESSION_PACKBITS; break;
  }
  return TIFFIsCODECConfigured(tag) ? tag : std::uint16_t(COMPRESSION_NONE);
}

}  // namespace

void WriteTiff(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  constexpr TWriterColors kTiffColors{true, false, PaletteDepths({4, 8}), true};
  // A black-and-white picture stays bilevel whatever the depth asked.
  const TColorDecision colors = picture.IsMono() ? TColorDecision{TColorLayout::BlackWhite, 1, 2}
                                                 : DecideColors(picture, DepthRequest(params), kTiffColors);
  const bool bilevel = colors.layout == TColorLayout::BlackWhite;
  const bool palette = colors.layout == TColorLayout::Palette;
  const int palette_bits = colors.bits;
  const std::uint16_t compression = CompressionTag(params.tiff_compression, bilevel, palette);

  TTiffMessages m;
  TOptions options(m);
  TTiffPtr tif(TIFFClientOpenExt("file", "w", file, FileRead, FileWrite, FileSeek, FileClose, FileSize,
                                 NoMap, MemUnmap, options.opts));
  if (!tif) Fail(m, "Cannot start the TIFF file");
  TIFF* t = tif.get();
  TIFFSetField(t, TIFFTAG_IMAGEWIDTH, std::uint32_t(picture.Width()));
  TIFFSetField(t, TIFFTAG_IMAGELENGTH, std::uint32_t(picture.Height()));
  TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(t, TIFFTAG_COMPRESSION, compression);
  if (bilevel) {
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    if (compression == COMPRESSION_CCITTFAX3)
      TIFFSetField(t, TIFFTAG_GROUP3OPTIONS,
                   params.tiff_compression == TTiffCompression::G3Fax2D ? GROUP3OPT_2DENCODING : 0);
  } else if (palette) {
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, palette_bits);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
  } else {
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    if (compression == COMPRESSION_JPEG) TIFFSetField(t, TIFFTAG_JPEGQUALITY, std::clamp(params.jpeg_quality, 1, 100));
  }
  // Strips of about 256 KB: few calls into libtiff, little memory.
  const std::size_t row_bytes = bilevel   ? (std::size_t(picture.Width()) + 7) / 8
                                : palette ? (std::size_t(picture.Width()) * palette_bits + 7) / 8
                                          : std::size_t(picture.Width()) * 3;
  const bool fax = compression == COMPRESSION_CCITTRLE || compression == COMPRESSION_CCITTFAX3 ||
                   compression == COMPRESSION_CCITTFAX4;
  const std::uint32_t rows_per_strip =
      compression == COMPRESSION_JPEG ? 16 * std::max<std::uint32_t>(1, std::uint32_t((256u << 10) / row_bytes / 16))
      : fax ? std::uint32_t(picture.Height())
            : std::max<std::uint32_t>(1, std::uint32_t((256u << 10) / row_bytes));
  TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, std::min<std::uint32_t>(rows_per_strip, std::uint32_t(picture.Height())));
  TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  TIFFSetField(t, TIFFTAG_XRESOLUTION, float(std::max(params.dpi_x, 1)));
  TIFFSetField(t, TIFFTAG_YRESOLUTION, float(std::max(params.dpi_y, 1)));

  TPictureBitmap mono;
  TPackedRows indices;
  if (palette) {
    TPaletteMapper mapper(BuildPalette(picture, colors.colors));
    std::vector<std::uint16_t> r(std::size_t(1) << palette_bits), g(r.size()), b(r.size());
    for (std::size_t i = 0; i < mapper.Palette().size(); ++i) {
      r[i] = std::uint16_t(RedOf(mapper.Palette()[i]) * 257);
      g[i] = std::uint16_t(GreenOf(mapper.Palette()[i]) * 257);
      b[i] = std::uint16_t(BlueOf(mapper.Palette()[i]) * 257);
    }
    TIFFSetField(t, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    indices = PackIndices(picture, mapper, palette_bits);
  }
  // Rows as the layout reads them: 1-bit for bilevel, 24-bit for colour.
  const TPictureBitmap& bits = bilevel ? ToMonoByIntensity(picture, mono)
                               : palette ? picture
                                         : AsBgr24(picture, mono);
  std::uint32_t rows = 0;
  TIFFGetField(t, TIFFTAG_ROWSPERSTRIP, &rows);
  std::vector<std::uint8_t> strip(row_bytes * std::max<std::uint32_t>(rows, 1));
  for (int y0 = 0, index = 0; y0 < picture.Height(); y0 += int(rows), ++index) {
    const int n = std::min(int(rows), picture.Height() - y0);
    for (int i = 0; i < n; ++i) {
      std::uint8_t* out = strip.data() + std::size_t(i) * row_bytes;
      const int y = y0 + i;
      if (bilevel) {
        std::copy_n(bits.Row(y), row_bytes, out);
      } else if (palette) {
        std::copy_n(indices.Row(y), row_bytes, out);
      } else {
        const std::uint8_t* src = bits.Row(y);
        for (int x = 0; x < picture.Width(); ++x, out += 3, src += 3) {
          out[0] = src[2];
          out[1] = src[1];
          out[2] = src[0];
        }
      }
    }
    if (TIFFWriteEncodedStrip(t, std::uint32_t(index), strip.data(), tmsize_t(row_bytes * std::size_t(n))) < 0)
      Fail(m, "Cannot write a strip");
  }
  if (!TIFFFlush(t)) Fail(m, "Cannot write the TIFF directory");
}

}  // namespace vistrel
