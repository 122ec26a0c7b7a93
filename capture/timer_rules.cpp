#include "capture/timer_rules.h"

namespace vistrel {

TTimeOfDay IntervalWithFloor(TTimeOfDay interval) {
  if (interval.hours == 0 && interval.minutes == 0 && interval.seconds < 10) interval.seconds = 10;
  return interval;
}

long long IntervalMs(TTimeOfDay interval) {
  return (interval.hours * 3600LL + interval.minutes * 60LL + interval.seconds) * 1000LL;
}

}  // namespace vistrel
