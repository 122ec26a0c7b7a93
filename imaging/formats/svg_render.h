// Draws SVG text (from the metafile converters) with librsvg over white.
#pragma once

#include <string>
#include <string_view>

#include "imaging/picture_bitmap.h"

namespace vistrel {

// librsvg aborts the process on text whose glyphs FreeType cannot scale
// (beyond 65535 pixels); sizes above this are drawn at this size.
constexpr double kMaxFontSize = 32768;

// The SVG drawn into a width x height picture, font sizes capped
// (WithFontSizesCapped); raises FormatError when librsvg cannot read it.
TPictureBitmap RenderSvgOverWhite(std::string_view svg, int width, int height);

// The document with every font-size value above kMaxFontSize lowered to it.
std::string WithFontSizesCapped(std::string_view svg);

}  // namespace vistrel
