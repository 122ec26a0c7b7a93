// The GIF LZW decoder. It takes what GIF89a allows and some decoders do
// not: a full table of 4096 codes used on without a clear code (the
// deferred clear) and data that ends without the end code once the image
// is complete.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/formats/format_support.h"

namespace vistrel {

// Decodes the image data `codes` (the sub-blocks joined) of an image of
// `pixels` pixels with the minimum code size `code_size` (1..11) into
// palette indices. Raises FormatError for damaged data or too few pixels.
std::vector<std::uint8_t> DecodeGifLzw(TByteSpan codes, int code_size, std::size_t pixels);

}  // namespace vistrel
