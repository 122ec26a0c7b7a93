// Progress reports of a running operation, in percent.
#pragma once

#include <cstdint>
#include <functional>

namespace vistrel {

using TProgressFn = std::function<void(int percent)>;

// A window onto the handler: an operation with several passes gives each
// pass a part of 0..100. Reports reach the handler only when the percentage
// changes, always from the thread that started the operation.
class TProgress {
 public:
  TProgress() = default;
  explicit TProgress(const TProgressFn* fn, int from = 0, int to = 100) : fn_(fn), from_(from), to_(to) {}

  // `done` of `total` steps of this part.
  void Report(std::int64_t done, std::int64_t total);
  void Finish() { Report(1, 1); }
  // The part [from, to] of this range, given in percent of it.
  TProgress Part(int from, int to) const;

 private:
  const TProgressFn* fn_ = nullptr;
  int from_ = 0;
  int to_ = 100;
  int last_ = -1;
};

}  // namespace vistrel
