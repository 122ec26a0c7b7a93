// What the picture-window settings' defaults depend on: the temporary folder
// (load and save folders) and the desktop and primary screen (window
// position, custom capture rectangle).
#pragma once

#include "app/settings/other_options.h"

namespace vistrel {

// As app/option_defaults.h computes them for the whole program, which lives
// in the shell library this one cannot link; the date is not needed here.
OptionDefaults PictureWindowDefaults();

}  // namespace vistrel
