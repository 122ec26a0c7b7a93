// What every process that shows windows sets up once its QApplication
// exists: names, icon, and the pictures it may load.
#pragma once

#include "platform/platform_choice.h"

namespace vistrel {

// Before the QApplication is made: its windows go to the desktop the
// platform services were chosen for, unless QT_QPA_PLATFORM names a Qt
// platform plugin already.
void SelectQtPlatform(TPlatformKind desktop);

void SetUpApplication();

}  // namespace vistrel
