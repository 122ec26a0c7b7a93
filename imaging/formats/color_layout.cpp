#include "imaging/formats/color_layout.h"

#include <algorithm>

#include "imaging/color_quantizer.h"

namespace vistrel {
namespace {

// The smallest depth of `depths` of at least `bits`, or 0.
int DepthAtLeast(unsigned depths, int bits) {
  for (int d = std::max(bits, 1); d <= 8; ++d)
    if (depths & (1u << d)) return d;
  return 0;
}

int DeepestPalette(unsigned depths) {
  for (int d = 8; d >= 1; --d)
    if (depths & (1u << d)) return d;
  return 0;
}

bool OnlyBlackAndWhite(const TPictureBitmap& picture) {
  if (picture.IsMono()) return true;
  const TPalette colors = ExactColors(picture, 2);
  return !colors.empty() &&
         std::all_of(colors.begin(), colors.end(), [](TColor c) { return c == kBlack || c == kWhite; });
}

bool OnlyGrey(const TPictureBitmap& picture) {
  if (picture.IsMono()) return true;
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint8_t* p = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, p += 3)
      if (p[0] != p[1] || p[1] != p[2]) return false;
  }
  return true;
}

// A palette of 2^bits colours in the nearest depth the format has; a
// format without palettes takes full colour (or grey, or black and white).
TColorDecision PaletteOf(int bits, const TWriterColors& can) {
  int depth = DepthAtLeast(can.palette_depths, bits);
  if (depth == 0) depth = DeepestPalette(can.palette_depths);
  if (depth == 0) {
    if (can.rgb) return {TColorLayout::Rgb, 8, 0};
    if (can.grey) return {TColorLayout::Grey, 8, 0};
    return {TColorLayout::BlackWhite, 1, 2};
  }
  return {TColorLayout::Palette, depth, 1 << std::min(std::max(bits, 1), depth)};
}

// The picture's colours kept: an exact palette when one fits (at least
// `bits` deep), else full colour, else the largest palette there is.
TColorDecision KeepColors(const TPictureBitmap& picture, int bits, const TWriterColors& can) {
  const TPalette exact = ExactColors(picture, 256);
  if (!exact.empty()) {
    int needed = 1;
    while ((std::size_t(1) << needed) < exact.size()) ++needed;
    const int depth = DepthAtLeast(can.palette_depths, std::max(needed, bits));
    if (depth != 0) return {TColorLayout::Palette, depth, 1 << depth};
  }
  if (can.rgb) return {TColorLayout::Rgb, 8, 0};
  return PaletteOf(8, can);
}

}  // namespace

TColorDecision DecideColors(const TPictureBitmap& picture, const TColorRequest& request,
                            const TWriterColors& can) {
  switch (request.layout) {
    case TColorLayout::BlackWhite:
      if (!request.from_file || OnlyBlackAndWhite(picture))
        return can.black_white ? TColorDecision{TColorLayout::BlackWhite, 1, 2} : PaletteOf(1, can);
      return KeepColors(picture, 1, can);
    case TColorLayout::Grey:
      if (!request.from_file || OnlyGrey(picture))
        return can.grey ? TColorDecision{TColorLayout::Grey, 8, 0} : PaletteOf(8, can);
      return KeepColors(picture, 8, can);
    case TColorLayout::Palette: {
      const int bits = std::clamp(request.bits, 1, 8);
      if (!request.from_file || !ExactColors(picture, 1 << bits).empty()) return PaletteOf(bits, can);
      return KeepColors(picture, bits, can);
    }
    case TColorLayout::Rgb:
      break;
  }
  return can.rgb ? TColorDecision{TColorLayout::Rgb, 8, 0} : PaletteOf(8, can);
}

TColorRequest DepthRequest(const TIOParams& params) {
  TColorRequest r;
  r.from_file = DepthFromFile(params);
  if (params.samples_per_pixel == 1) {
    r.layout = params.bits_per_sample == 1 ? TColorLayout::BlackWhite : TColorLayout::Palette;
    r.bits = std::clamp(params.bits_per_sample, 1, 8);
  }
  return r;
}

bool DepthFromFile(const TIOParams& params) {
  return params.file_colors.depth ==
         std::optional(std::pair{params.bits_per_sample, params.samples_per_pixel});
}

bool JpegColorSpaceFromFile(const TIOParams& params) {
  return params.file_colors.jpeg == params.jpeg_color_space;
}

bool J2kColorSpaceFromFile(const TIOParams& params) {
  return params.file_colors.j2k == params.j2k_color_space;
}

void NoteFileColors(TIOParams& params, TFileType type) {
  params.file_colors = {};
  // Metafiles are rendered in colour and tell no depth.
  if (type != TFileType::Wmf && type != TFileType::Emf)
    params.file_colors.depth = std::pair{params.bits_per_sample, params.samples_per_pixel};
  if (type == TFileType::Jpeg) params.file_colors.jpeg = params.jpeg_color_space;
  if (type == TFileType::Jpeg2000 || type == TFileType::J2kCodeStream)
    params.file_colors.j2k = params.j2k_color_space;
}

void NoteColorChoice(TIOParams& params, std::string_view name) {
  if (name == "bits-per-sample" || name == "samples-per-pixel" || name == "colors")
    params.file_colors.depth.reset();
  else if (name == "jpeg-colorspace")
    params.file_colors.jpeg.reset();
}

}  // namespace vistrel
