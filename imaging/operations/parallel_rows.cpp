#include "parallel_rows.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace vistrel {

namespace {

// Below this much work a second thread costs more than it saves.
constexpr std::int64_t kMinParallelWork = 1 << 17;
constexpr unsigned kMaxThreads = 8;

}  // namespace

void ParallelRows(int rows, std::int64_t work, TProgress& progress,
                  const std::function<void(int y0, int y1)>& body) {
  if (rows <= 0) {
    progress.Finish();
    return;
  }
  const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
  // Chunks small enough to balance the threads and to report often.
  const int chunk = std::max(1, std::min(16, rows / int(cores * 8)));
  if (cores == 1 || work < kMinParallelWork || rows < 2) {
    for (int y = 0; y < rows; y += chunk) {
      body(y, std::min(rows, y + chunk));
      progress.Report(std::min(rows, y + chunk), rows);
    }
    return;
  }

  std::atomic<int> next{0};
  std::atomic<int> finished{0};
  std::atomic<bool> failed{false};
  std::exception_ptr error;
  std::mutex error_lock;
  auto run_chunk = [&]() -> bool {
    const int y0 = next.fetch_add(chunk);
    if (y0 >= rows || failed.load()) return false;
    const int y1 = std::min(rows, y0 + chunk);
    try {
      body(y0, y1);
    } catch (...) {
      std::lock_guard<std::mutex> lock(error_lock);
      if (!error) error = std::current_exception();
      failed = true;
    }
    finished.fetch_add(y1 - y0);
    return true;
  };

  std::vector<std::thread> workers;
  for (unsigned i = 1; i < cores; ++i) {
    try {
      workers.emplace_back([&] {
        while (run_chunk()) {
        }
      });
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the ones running finish the job
    }
  }
  while (run_chunk()) progress.Report(finished.load(), rows);
  for (std::thread& t : workers) t.join();
  if (error) std::rethrow_exception(error);
  progress.Finish();
}

}  // namespace vistrel
