#include "settings/picture_type_defaults.h"

#include <algorithm>

namespace vistrel {

TRgb ResolveColor(std::int32_t color, const TSystemColorResolver& system) {
  const std::uint32_t value = std::uint32_t(color);
  if (value & 0x80000000u) return system ? system(int(value & 0xFF)) : TRgb{};
  return TRgb{std::uint8_t(value & 0xFF), std::uint8_t((value >> 8) & 0xFF),
              std::uint8_t((value >> 16) & 0xFF)};
}

void ApplyPictureTypeDefaults(const PictureWindowOptions& o, TIOParams& p,
                              const TSystemColorResolver& system) {
  p.gif_version = o.DefGifVer89 ? "GIF89a" : "GIF87a";
  p.gif_transparent_color = ResolveColor(o.DefGifTColor, system);
  p.gif_background = ResolveColor(o.DefGifBColor, system);
  p.gif_transparent = o.DefGifTransp;
  p.jpeg_optimal = o.DefJpgOptimal;
  // Values edited by hand outside their ranges are held to what the
  // writers accept.
  p.jpeg_quality = std::clamp(o.DefJpgQuality, 0, 100);
  p.jpeg_smoothing = std::clamp(o.DefJpgSmooth, 0, 100);
  p.png_background = ResolveColor(o.DefPngBColor, system);
  p.png_compression = std::clamp(o.DefPngComp, 0, 9);
}

}  // namespace vistrel
