// Compression of a PNG's image data: one zlib stream, made of row bands
// deflated side by side where the picture is large enough to pay for it.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/formats/png_scanlines.h"

namespace vistrel {

// The zlib stream of the filtered scanlines at zlib's level 0..9 (0 stores).
std::vector<std::uint8_t> CompressPngImageData(const TPngScanlines& lines, int level);
// The same in exactly `bands` row bands (at most one a scanline), each on a
// thread of its own.
std::vector<std::uint8_t> CompressPngImageData(const TPngScanlines& lines, int level, int bands);

}  // namespace vistrel
