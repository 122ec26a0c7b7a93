// JPEG coding of a picture into memory, for JPEG files and PDF images.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/formats/io_params.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

// Quality, smoothing, optimal coding, progressive mode, DCT method, output
// colour space and density from `params`; the stored markers of a loaded
// JPEG are written back (except JFIF and Adobe headers, which libjpeg
// writes itself).
std::vector<std::uint8_t> EncodeJpeg(const TPictureBitmap& picture, const TIOParams& params);

}  // namespace vistrel
