// The desktop's default beep. The Qt layer provides it (QApplication::beep).
#pragma once

namespace vistrel {

class IBeeper {
 public:
  virtual ~IBeeper() = default;
  virtual void Beep() = 0;
};

}  // namespace vistrel
