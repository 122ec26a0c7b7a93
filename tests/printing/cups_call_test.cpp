#include <gtest/gtest.h>

#include <QTimer>
#include <future>
#include <thread>

#include "platform/print/cups_call.h"

namespace vistrel {
namespace {

TEST(CupsCall, AnswersAndFaultsComeBackToTheCaller) {
  EXPECT_EQ(CupsCall<int>([](TCupsProgress&) { return 7; }), 7);
  try {
    CupsCall<int>([](TCupsProgress&) -> int { throw PrinterError("Printer \"Q\" is not installed"); });
    FAIL() << "no fault";
  } catch (const PrinterError& e) {
    EXPECT_STREQ(e.what(), "Printer \"Q\" is not installed");
  }
}

TEST(CupsCall, ACallWithoutAnswerGivesUpWhileTheEventLoopRuns) {
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
  timer.start(100);
  try {
    WaitForCups([released](TCupsProgress&) { released.wait(); });
    FAIL() << "no timeout";
  } catch (const PrinterError& e) {
    EXPECT_STREQ(e.what(), kCupsNotAnswering);
  }
  release.set_value();
  EXPECT_GT(ticks, 10);  // the window's timers kept running all along
}

TEST(CupsCall, ACallThatKeepsMakingProgressIsWaitedFor) {
  const int steps = int(kCupsTimeout / std::chrono::milliseconds(500)) + 4;
  const int done = CupsCall<int>([steps](TCupsProgress& progress) {
    for (int i = 0; i < steps; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      progress.Touch();
    }
    return steps;
  });
  EXPECT_EQ(done, steps);
}

}  // namespace
}  // namespace vistrel
