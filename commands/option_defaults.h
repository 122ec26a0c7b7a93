// The desktop values the settings' defaults are computed from.
#pragma once

#include "settings/other_options.h"

namespace vistrel {

// The Pictures folder, the virtual desktop (all monitors), the primary monitor
// and the current date and time, as they are now.
OptionDefaults CurrentOptionDefaults();

}  // namespace vistrel
