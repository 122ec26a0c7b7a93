#include "picture/MainFormHooks.h"

namespace vistrel {

TMainFormHooks& MainFormHooks() {
  static TMainFormHooks hooks;
  return hooks;
}

}  // namespace vistrel
