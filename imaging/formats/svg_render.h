// Draws SVG text (from the metafile converters) with librsvg over white.
#pragma once

#include <string>
#include <string_view>

#include "imaging/picture_bitmap.h"

namespace vistrel {

// Frames larger than this many pixels are cut to what the drawing covers.
constexpr std::int64_t kMetafileFreeFramePixels = std::int64_t(4096) * 4096;

// librsvg aborts the process on text whose glyphs FreeType cannot scale
// (beyond 65535 pixels); sizes above this are drawn at this size.
constexpr double kMaxFontSize = 32768;

// The SVG drawn into a width x height picture. A frame of more than
// kMetafileFreeFramePixels is cut at the right and bottom to the drawing's
// ink, before anything is allocated for it, so a small file cannot claim a
// huge empty picture. Raises FormatError when librsvg cannot read the SVG
// or nothing is drawn in such a frame. Font sizes are capped
// (WithFontSizesCapped).
TPictureBitmap RenderSvgOverWhite(std::string_view svg, int width, int height);

// The document with every font-size value above kMaxFontSize lowered to it.
std::string WithFontSizesCapped(std::string_view svg);

}  // namespace vistrel
