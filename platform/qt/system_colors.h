// The desktop's system colours, which stored colour values may name
// (0x80000000 | index, the indices of the Windows colour table), taken from
// the current palette.
#pragma once

#include "imaging/formats/io_params.h"

namespace vistrel {

// The colour of system colour `index` as the current palette shows it;
// black for an index outside the table.
TRgb PaletteSystemColor(int index);

}  // namespace vistrel
