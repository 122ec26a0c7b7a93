// The desktop's default beep for the platform layer.
#pragma once

#include <QApplication>

#include "platform/beeper.h"

namespace vistrel {

class TQtBeeper : public IBeeper {
 public:
  void Beep() override { QApplication::beep(); }
};

}  // namespace vistrel
