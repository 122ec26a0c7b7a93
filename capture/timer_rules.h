// The timer dialog's interval rule.
#pragma once

namespace vistrel {

struct TTimeOfDay {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  bool operator==(const TTimeOfDay&) const = default;
};

// Under ten seconds (hours and minutes both 0) the interval becomes ten
// seconds; otherwise it stays.
TTimeOfDay IntervalWithFloor(TTimeOfDay interval);

// (hours x 3600 + minutes x 60 + seconds) x 1000.
long long IntervalMs(TTimeOfDay interval);

}  // namespace vistrel
