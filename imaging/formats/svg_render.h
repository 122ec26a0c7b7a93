// Draws SVG text (from the metafile converters) with librsvg over white.
#pragma once

#include <string_view>

#include "imaging/picture_bitmap.h"

namespace vistrel {

// The SVG drawn into a width x height picture; raises FormatError when
// librsvg cannot read it.
TPictureBitmap RenderSvgOverWhite(std::string_view svg, int width, int height);

}  // namespace vistrel
