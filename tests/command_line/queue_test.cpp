// Command-line captures in the running copy: the delay counted down in the
// tooltip, the wait while a capture runs, and every way one ends.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <algorithm>
#include <QTimer>
#include <memory>

#include "app/command_line_captures.h"

namespace vistrel {
namespace {

class CommandLineCapturesTest : public ::testing::Test {
 protected:
  std::unique_ptr<TCommandLineCaptures> Make(int busy_wait_ms) {
    return std::make_unique<TCommandLineCaptures>(
        TCommandLineCaptures::THooks{
            [this] { return idle_; },
            [this](const TCaptureRequest& request) {
              order_.push_back(request.area);
              // A capture runs event loops of its own, and meanwhile
              // nothing else may start.
              idle_ = false;
              QEventLoop loop;
              QTimer::singleShot(150, &loop, &QEventLoop::quit);
              loop.exec();
              idle_ = true;
              return TCaptureOutcome{TCaptureOutcome::TStatus::Done, "/p.png", {}};
            },
            [this](const QString& status) { statuses_.push_back(status); }},
        busy_wait_ms);
  }

  std::function<void(const TCaptureReply&)> Keep() {
    return [this](const TCaptureReply& reply) { replies_.push_back(reply); };
  }

  void WaitForReplies(std::size_t count) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (replies_.size() >= count) loop.quit();
    });
    poll.start(10);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_EQ(replies_.size(), count);
  }

  bool idle_ = true;
  std::vector<TCaptureArea> order_;
  std::vector<QString> statuses_;
  std::vector<TCaptureReply> replies_;
};

TEST_F(CommandLineCapturesTest, DelayCountsDownThenRequestsRunOneAfterAnother) {
  auto captures = Make(60000);
  captures->Add({"--capture", "window", "--delay", "2"}, Keep());
  captures->Add({"--capture", "desktop"}, Keep());
  captures->Add({"--capture", "custom"}, Keep());
  WaitForReplies(3);
  EXPECT_EQ(order_, (std::vector<TCaptureArea>{TCaptureArea::Desktop, TCaptureArea::Custom,
                                               TCaptureArea::Window}));
  for (const TCaptureReply& reply : replies_) {
    EXPECT_EQ(reply.status, TCaptureExit::Done);
    EXPECT_EQ(reply.text, "/p.png");
  }
  ASSERT_GE(statuses_.size(), 3u);
  EXPECT_EQ(statuses_.front(), "Vistrel-Pro: capture in 2 s");
  EXPECT_NE(std::find(statuses_.begin(), statuses_.end(), "Vistrel-Pro: capture in 1 s"),
            statuses_.end());
  EXPECT_EQ(statuses_.back(), QString());
}

TEST_F(CommandLineCapturesTest, BadArgumentsBusyCopyAndEndingProgramAreAnswered) {
  auto captures = Make(200);
  captures->Add({"--capture", "sideways"}, Keep());
  ASSERT_EQ(replies_.size(), 1u);
  EXPECT_EQ(replies_[0].status, TCaptureExit::Usage);
  EXPECT_NE(replies_[0].text.find("sideways"), std::string::npos);

  idle_ = false;  // a picture window stays open
  captures->Add({"--capture", "desktop"}, Keep());
  WaitForReplies(2);
  EXPECT_EQ(replies_[1].status, TCaptureExit::Failed);
  EXPECT_NE(replies_[1].text.find("busy"), std::string::npos);

  captures->Add({"--capture", "desktop", "--delay", "60"}, Keep());
  captures.reset();
  ASSERT_EQ(replies_.size(), 3u);
  EXPECT_EQ(replies_[2].status, TCaptureExit::Failed);
  EXPECT_TRUE(order_.empty());
}

}  // namespace
}  // namespace vistrel
