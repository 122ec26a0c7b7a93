// CUPS calls that may wait run here: on a worker thread, while the calling
// (window) thread keeps its event loop running, so a print system that
// accepts a connection and never answers cannot freeze the window.
#pragma once

#include <atomic>
#include <cstdint>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

#include "platform/print/printers.h"

typedef struct _http_s http_t;

namespace vistrel {

inline constexpr const char* kCupsNotAnswering = "CUPS is not answering";
// How long a CUPS request may go without progress.
inline constexpr std::chrono::milliseconds kCupsTimeout{5000};

// Progress of a call: the caller waits while the call keeps touching it.
class TCupsProgress {
 public:
  TCupsProgress() { Touch(); }
  void Touch();
  std::chrono::steady_clock::time_point Last() const;

 private:
  std::atomic<std::int64_t> last_{0};
};

// A connection to the CUPS server of $CUPS_SERVER (or the system's) that
// gives up on a request after kCupsTimeout without an answer. Null when the
// server cannot be reached.
struct THttpClose {
  void operator()(http_t* http) const;
};
using THttp = std::unique_ptr<http_t, THttpClose>;
THttp ConnectCups();

// Runs `call` on a worker thread and waits for it with the event loop
// running (user input held back). PrinterError kCupsNotAnswering when the
// call made no progress for kCupsTimeout, or the program is ending; errors
// of the call are thrown here. The call must own everything it uses: after
// a timeout it finishes on its own.
void WaitForCups(std::function<void(TCupsProgress&)> call);

template <typename R>
R CupsCall(std::function<R(TCupsProgress&)> call) {
  auto result = std::make_shared<std::optional<R>>();
  WaitForCups([result, call](TCupsProgress& progress) { *result = call(progress); });
  return std::move(**result);
}

}  // namespace vistrel
