#include "app/command_line_captures.h"

#include <QTimer>

#include "capture/command_line_request.h"

namespace vistrel {

namespace {

constexpr int kTickMs = 100;

}  // namespace

TCommandLineCaptures::TCommandLineCaptures(THooks hooks, int busy_wait_ms, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)), busy_wait_ms_(busy_wait_ms), timer_(new QTimer(this)) {
  timer_->setInterval(kTickMs);
  connect(timer_, &QTimer::timeout, this, &TCommandLineCaptures::Tick);
}

// Whoever still waits hears that the program ends.
TCommandLineCaptures::~TCommandLineCaptures() {
  for (TPending& p : pending_) p.reply({TCaptureExit::Failed, "the running copy has ended"});
}

void TCommandLineCaptures::Add(const std::vector<std::string>& args,
                               std::function<void(const TCaptureReply&)> reply) {
  const TCommandLineRequest parsed = ParseCaptureArguments(args);
  if (!parsed.request) return reply({TCaptureExit::Usage, parsed.error});
  TPending pending{*parsed.request, std::move(reply), {}};
  pending.since.start();
  pending_.push_back(std::move(pending));
  timer_->start();
  Tick();
}

void TCommandLineCaptures::Tick() {
  QString status;
  for (std::size_t i = 0; i < pending_.size(); ++i) {
    TPending& p = pending_[i];
    const qint64 delay_ms = qint64(p.request.delay_seconds) * 1000;
    const qint64 left_ms = delay_ms - p.since.elapsed();
    if (left_ms > 0) {
      if (status.isEmpty()) status = QString("Vistrel-Pro: capture in %1 s").arg((left_ms + 999) / 1000);
      continue;
    }
    if (hooks_.idle()) {
      // Out of the list before it runs: the run's own event loops tick too.
      TPending due = std::move(p);
      pending_.erase(pending_.begin() + std::ptrdiff_t(i));
      if (pending_.empty()) timer_->stop();
      if (!status_shown_.isEmpty()) hooks_.show_status(status_shown_ = QString());
      due.reply(ReplyForOutcome(hooks_.run(due.request)));
      return;
    }
    if (p.since.elapsed() - delay_ms > busy_wait_ms_) {
      TPending late = std::move(p);
      pending_.erase(pending_.begin() + std::ptrdiff_t(i--));
      late.reply({TCaptureExit::Failed,
                  "the running copy stayed busy (a picture window is open); try again once it "
                  "is closed"});
    }
  }
  if (pending_.empty()) timer_->stop();
  if (status != status_shown_) hooks_.show_status(status_shown_ = status);
}

}  // namespace vistrel
