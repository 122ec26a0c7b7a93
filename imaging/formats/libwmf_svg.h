// Repairs the SVG that libwmf writes before librsvg reads it.
#pragma once

#include <string>
#include <string_view>

namespace vistrel {

// libwmf's inline bitmaps (<image>) use xlink:href without declaring the
// namespace, which librsvg refuses, and carry both their target rectangle
// and a transform that scales them to it once more. The result declares
// xlink on the root element and stretches each image over its rectangle.
std::string RepairLibwmfSvg(std::string_view svg);

}  // namespace vistrel
