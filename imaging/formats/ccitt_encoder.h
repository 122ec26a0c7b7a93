// CCITT fax coding of 1-bit rows (ITU-T T.4 and T.6), as PDF's
// CCITTFaxDecode reads it without end-of-line codes or byte alignment.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/picture_bitmap.h"

namespace vistrel {

// Set bits of the picture's rows are coded as the fax "black" colour, so
// the data suits /BlackIs1 true for a picture whose set bits are white.
// Group 4 (K < 0) ends with the end-of-block code.
std::vector<std::uint8_t> EncodeCcittGroup4(const TPictureBitmap& mono);

// Group 3 with K = 1: every row one-dimensional, behind a 1 tag bit.
std::vector<std::uint8_t> EncodeCcittGroup3Mixed(const TPictureBitmap& mono);

}  // namespace vistrel
