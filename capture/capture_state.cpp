#include "capture/capture_state.h"

namespace vistrel {

TCaptureState& CaptureState() {
  static TCaptureState state;
  return state;
}

}  // namespace vistrel
