// Runs a row loop on all cores when the picture is large enough to pay for
// starting threads. The calling thread takes part and alone reports
// progress, so handlers never run on a worker.
#pragma once

#include <cstdint>
#include <functional>

#include "imaging/operations/progress.h"

namespace vistrel {

// Calls body(y0, y1) for consecutive row ranges [y0, y1) covering 0..rows.
// `work` estimates the total cost (e.g. pixels touched); small jobs run on
// the calling thread alone. Returns when every row is done; an exception
// from the body is rethrown after all threads have stopped.
void ParallelRows(int rows, std::int64_t work, TProgress& progress,
                  const std::function<void(int y0, int y1)>& body);

}  // namespace vistrel
