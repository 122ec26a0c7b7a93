// Joining raw deflate streams. libdeflate ends every stream with a final
// block; a stream that is to be followed by another must instead end with
// a non-final block and an empty stored block, so that it stops on a byte
// boundary as a sync flush would leave it.
#pragma once

#include <cstdint>
#include <vector>

namespace vistrel {

// Clears the final flag of the stream's last block and appends an empty
// stored block. Walks the block structure to find that flag, so the stream
// must be complete and valid; false (and `deflate` unchanged) otherwise.
bool ContinueAfter(std::vector<std::uint8_t>& deflate);

}  // namespace vistrel
