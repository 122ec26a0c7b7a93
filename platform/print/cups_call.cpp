#include "platform/print/cups_call.h"

#include <cups/cups.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <thread>

namespace vistrel {

namespace {

std::int64_t Now() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct TCallState {
  TCupsProgress progress;
  std::atomic<bool> done{false};
  std::exception_ptr error;
};

}  // namespace

void TCupsProgress::Touch() { last_ = Now(); }

std::chrono::steady_clock::time_point TCupsProgress::Last() const {
  return std::chrono::steady_clock::time_point(std::chrono::milliseconds(last_.load()));
}

void THttpClose::operator()(http_t* http) const { httpClose(http); }

THttp ConnectCups() {
  http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              int(kCupsTimeout.count()), nullptr);
  if (!http) return nullptr;
  // A request that waits this long without an answer fails.
  httpSetTimeout(http, std::chrono::duration<double>(kCupsTimeout).count(),
                 [](http_t*, void*) { return 0; }, nullptr);
  return THttp(http);
}

void WaitForCups(std::function<void(TCupsProgress&)> call) {
  auto state = std::make_shared<TCallState>();
  std::thread([state, call = std::move(call)] {
    try {
      call(state->progress);
    } catch (...) {
      state->error = std::current_exception();
    }
    state->done = true;
  }).detach();

  QEventLoop loop;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
    if (state->done || std::chrono::steady_clock::now() - state->progress.Last() >= kCupsTimeout)
      loop.quit();
  });
  tick.start(10);
  // Returns at once when the program is ending (its loops are told to quit).
  if (!state->done) loop.exec(QEventLoop::ExcludeUserInputEvents);
  if (!state->done) throw PrinterError(kCupsNotAnswering);
  if (state->error) std::rethrow_exception(state->error);
}

}  // namespace vistrel
