// PNG reading through libpng, which reports errors by longjmp: the handlers
// below keep the message and the functions jump back to their own setjmp,
// whose frame owns everything that needs releasing. Writing is our own
// (png_chunks, png_deflate), to compress with libdeflate on every core.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <string>

#include "imaging/color_quantizer.h"
#include "imaging/formats/color_layout.h"
#include "imaging/formats/format_codecs.h"
#include "imaging/formats/pixel_packing.h"
#include "imaging/formats/png_chunks.h"
#include "imaging/formats/png_deflate.h"

namespace vistrel {
namespace {

struct TPngError {
  char message[200] = "PNG error";
};

void OnPngError(png_structp png, png_const_charp msg) {
  auto* err = static_cast<TPngError*>(png_get_error_ptr(png));
  std::snprintf(err->message, sizeof err->message, "%s", msg);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

struct TMemorySource {
  TByteSpan data;
  std::size_t pos = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t n) {
  auto* src = static_cast<TMemorySource*>(png_get_io_ptr(png));
  if (n > src->data.size() - src->pos) png_error(png, "Unexpected end of file");
  std::memcpy(out, src->data.data() + src->pos, n);
  src->pos += n;
}

// What the reader learns before the pixels, checked outside libpng's frames.
struct TPngHeader {
  png_uint_32 width = 0, height = 0;
  int bit_depth = 0, color_type = 0, interlace = 0, channels = 0;
};

struct TReadState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~TReadState() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

bool ReadHeader(TReadState& s, TMemorySource& src, TPngHeader& h) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_read_fn(s.png, &src, ReadFromMemory);
  png_set_user_limits(s.png, 0x7FFFFFFF, 0x7FFFFFFF);
  png_read_info(s.png, s.info);
  png_get_IHDR(s.png, s.info, &h.width, &h.height, &h.bit_depth, &h.color_type, &h.interlace,
               nullptr, nullptr);
  h.channels = png_get_channels(s.png, s.info);
  return true;
}

// The compressed image data present: the IDAT chunks' bytes, as far as the
// file goes.
std::uint64_t ImageDataBytes(TByteSpan data) {
  std::uint64_t total = 0;
  for (std::size_t pos = 8; data.size() - pos >= 8;) {
    const std::uint32_t length = std::uint32_t(data[pos]) << 24 | std::uint32_t(data[pos + 1]) << 16 |
                                 std::uint32_t(data[pos + 2]) << 8 | data[pos + 3];
    const bool idat = std::memcmp(data.data() + pos + 4, "IDAT", 4) == 0;
    if (std::memcmp(data.data() + pos + 4, "IEND", 4) == 0) break;
    pos += 8;
    if (idat) total += std::min<std::uint64_t>(length, data.size() - pos);
    if (data.size() - pos < std::uint64_t(length) + 4) break;
    pos += std::size_t(length) + 4;
  }
  return total;
}

// Deflate expands a byte to at most 1032: a picture whose samples need more
// than the image data could inflate to is cut short, whatever its header says.
bool ImageDataCanHold(TByteSpan data, const TPngHeader& h) {
  const std::uint64_t sample_bits = std::uint64_t(h.width) * h.height * std::uint64_t(h.channels) * h.bit_depth;
  return sample_bits / 8 <= (ImageDataBytes(data) + 1) * 1032;
}

bool ReadPixels(TReadState& s, const TPngHeader& h, TPictureBitmap& picture) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_structp png = s.png;
  if (!picture.IsMono()) {
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    if ((h.color_type & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, s.info, PNG_INFO_tRNS)) {
      // Transparent parts show over white, as on the view's background.
      png_color_16 white{};
      white.red = white.green = white.blue = white.gray = 255;
      png_set_background(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    }
    png_set_bgr(png);
  }
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, s.info);
  for (int pass = 0; pass < passes; ++pass)
    for (png_uint_32 y = 0; y < h.height; ++y) png_read_row(png, picture.Row(int(y)), nullptr);
  png_read_end(png, nullptr);
  return true;
}

void ReadExtras(TReadState& s, const TPngHeader& h, TIOParams& params) {
  png_uint_32 rx = 0, ry = 0;
  int unit = 0;
  if (png_get_pHYs(s.png, s.info, &rx, &ry, &unit) && unit == PNG_RESOLUTION_METER) {
    const int dx = PixelsPerMetreToDpi(rx), dy = PixelsPerMetreToDpi(ry);
    if (dx > 0 && dy > 0) params.dpi_x = dx, params.dpi_y = dy;
  }
  png_color_16p bg = nullptr;
  if (png_get_bKGD(s.png, s.info, &bg) && bg) {
    png_colorp palette = nullptr;
    int count = 0;
    const int shift = h.bit_depth == 16 ? 8 : 0;
    if (h.color_type == PNG_COLOR_TYPE_PALETTE) {
      if (png_get_PLTE(s.png, s.info, &palette, &count) && bg->index < count)
        params.png_background = {palette[bg->index].red, palette[bg->index].green,
                                 palette[bg->index].blue};
    } else if (h.color_type & PNG_COLOR_MASK_COLOR) {
      params.png_background = {std::uint8_t(bg->red >> shift), std::uint8_t(bg->green >> shift),
                               std::uint8_t(bg->blue >> shift)};
    } else {
      const int g = h.bit_depth >= 8 ? bg->gray >> shift : bg->gray * 255 / ((1 << h.bit_depth) - 1);
      params.png_background = {std::uint8_t(g), std::uint8_t(g), std::uint8_t(g)};
    }
  }
  params.png_interlaced = h.interlace != PNG_INTERLACE_NONE;
  params.bits_per_sample = h.bit_depth;
  params.samples_per_pixel = h.channels;
}

}  // namespace

void ReadPng(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0)
    throw FormatError("Not a PNG file");
  TPngError err;
  TReadState s;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &err, OnPngError, OnPngWarning);
  if (!s.png) throw std::bad_alloc();
  s.info = png_create_info_struct(s.png);
  if (!s.info) throw std::bad_alloc();
  TMemorySource src{data};
  TPngHeader h;
  if (!ReadHeader(s, src, h)) throw FormatError(err.message);
  CheckPictureSize(h.width, h.height);
  if (!ImageDataCanHold(data, h)) throw FormatError("Not enough image data");
  const bool mono = h.color_type == PNG_COLOR_TYPE_GRAY && h.bit_depth == 1 &&
                    !png_get_valid(s.png, s.info, PNG_INFO_tRNS);
  picture.Allocate(int(h.width), int(h.height), mono ? PixelFormat::Mono1 : PixelFormat::Bgr24);
  if (!ReadPixels(s, h, picture)) throw FormatError(err.message);
  ReadExtras(s, h, params);
}

namespace {

// The rows as they go into the file: the picture's own for 24-bit and 1-bit
// output, packed palette indices otherwise.
struct TPngRows {
  int bit_depth = 8;
  int color_type = PNG_COLOR_TYPE_RGB;
  std::vector<png_color> palette;
  int background_index = 0;
  TPackedRows packed;  // filled for palette output
};

std::vector<std::uint8_t> HeaderChunk(const TPictureBitmap& picture, const TIOParams& params, const TPngRows& rows) {
  std::vector<std::uint8_t> d;
  PutBE32(d, std::uint32_t(picture.Width()));
  PutBE32(d, std::uint32_t(picture.Height()));
  d.push_back(std::uint8_t(rows.bit_depth));
  d.push_back(std::uint8_t(rows.color_type));
  d.push_back(0);  // deflate
  d.push_back(0);  // adaptive filtering, one filter type a row
  d.push_back(params.png_interlaced ? 1 : 0);
  return d;
}

std::vector<std::uint8_t> BackgroundChunk(const TIOParams& params, const TPngRows& rows) {
  std::vector<std::uint8_t> d;
  const TRgb& c = params.png_background;
  if (rows.color_type == PNG_COLOR_TYPE_PALETTE) {
    d.push_back(std::uint8_t(rows.background_index));
  } else if (rows.color_type == PNG_COLOR_TYPE_GRAY) {
    PutBE16(d, c.r + c.g + c.b >= 384 ? 1 : 0);
  } else {
    PutBE16(d, c.r);
    PutBE16(d, c.g);
    PutBE16(d, c.b);
  }
  return d;
}

void WriteImage(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params, const TPngRows& rows) {
  TPngChunkWriter out(file);
  out.Chunk("IHDR", HeaderChunk(picture, params, rows));
  if (!rows.palette.empty()) {
    std::vector<std::uint8_t> plte;
    for (const png_color& c : rows.palette) plte.insert(plte.end(), {c.red, c.green, c.blue});
    out.Chunk("PLTE", plte);
  }
  out.Chunk("bKGD", BackgroundChunk(params, rows));
  const std::uint32_t px = DpiToPixelsPerMetre(params.dpi_x);
  const std::uint32_t py = DpiToPixelsPerMetre(params.dpi_y);
  if (px && py) {
    std::vector<std::uint8_t> phys;
    PutBE32(phys, px);
    PutBE32(phys, py);
    phys.push_back(1);  // per metre
    out.Chunk("pHYs", phys);
  }
  TPngImageRows image;
  image.width = picture.Width();
  image.height = picture.Height();
  image.interlaced = params.png_interlaced;
  if (rows.packed.Empty()) {
    image.first_row = picture.Row(0);
    image.stride = picture.Stride();
    image.bits_per_pixel = picture.IsMono() ? 1 : 24;
    image.bgr = !picture.IsMono();
  } else {
    image.first_row = rows.packed.Row(0);
    image.stride = rows.packed.Stride();
    image.bits_per_pixel = rows.bit_depth;
  }
  out.ImageData(CompressPngImageData(TPngScanlines(image, params.png_filter), params.png_compression));
  out.Chunk("IEND", nullptr, 0);
}

}  // namespace

void WritePng(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  TPngRows rows;
  TPictureBitmap mono;
  const TPictureBitmap* source = &picture;
  constexpr TWriterColors kPngColors{true, false, PaletteDepths({1, 2, 4, 8}), true};
  const TColorDecision colors = picture.IsMono() ? TColorDecision{TColorLayout::BlackWhite, 1, 2}
                                                 : DecideColors(picture, DepthRequest(params), kPngColors);
  if (colors.layout == TColorLayout::BlackWhite) {
    // Black and white: 1-bit greyscale, 0 black and 1 white like the picture.
    rows.bit_depth = 1;
    rows.color_type = PNG_COLOR_TYPE_GRAY;
    if (!picture.IsMono()) source = &ToMonoByIntensity(picture, mono);
  } else if (colors.layout == TColorLayout::Palette) {
    const TPalette palette = BuildPalette(picture, colors.colors);
    rows.color_type = PNG_COLOR_TYPE_PALETTE;
    rows.bit_depth = colors.bits;
    for (TColor c : palette) rows.palette.push_back({RedOf(c), GreenOf(c), BlueOf(c)});
    TPaletteMapper mapper(palette);
    const TRgb& b = params.png_background;
    rows.background_index = mapper.Index(b.r, b.g, b.b);
    rows.packed = PackIndices(picture, mapper, rows.bit_depth);
  }
  WriteImage(file, *source, params, rows);
}

}  // namespace vistrel
