#include "progress.h"

namespace vistrel {

void TProgress::Report(std::int64_t done, std::int64_t total) {
  if (!fn_ || !*fn_ || total <= 0) return;
  const int percent = from_ + int((to_ - from_) * done / total);
  if (percent == last_) return;
  last_ = percent;
  (*fn_)(percent);
}

TProgress TProgress::Part(int from, int to) const {
  const int span = to_ - from_;
  return TProgress(fn_, from_ + span * from / 100, from_ + span * to / 100);
}

}  // namespace vistrel
