// "Object": the window or control the user points at on the frozen desktop
// replaces the picture.
#pragma once

namespace vistrel {

class TMainForm1;

void PickObjectIntoPicture(TMainForm1& window);

}  // namespace vistrel
