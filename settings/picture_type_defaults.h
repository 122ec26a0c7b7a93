// The stored GIF, JPEG and PNG choices, applied to a picture window's
// writer parameters when the window is created and after the defaults
// dialog.
#pragma once

#include <cstdint>
#include <functional>

#include "settings/other_options.h"
#include "imaging/formats/io_params.h"

namespace vistrel {

// A stored colour: 0x00BBGGRR, or a system colour (high bit set, index in
// the low byte) that is resolved to its current value by `system`.
using TSystemColorResolver = std::function<TRgb(int index)>;

TRgb ResolveColor(std::int32_t color, const TSystemColorResolver& system);

// Every caller names its resolver: without one a system colour would reach
// the writer as black.
void ApplyPictureTypeDefaults(const PictureWindowOptions& options, TIOParams& params,
                              const TSystemColorResolver& system);

}  // namespace vistrel
