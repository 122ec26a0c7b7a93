// What every process that shows windows sets up once its QApplication
// exists: names, icon, and the pictures it may load.
#pragma once

namespace vistrel {

void SetUpApplication();

}  // namespace vistrel
