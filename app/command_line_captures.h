// Captures asked for on the command line, in the running copy: each is
// counted down in the tray tooltip, then waits until no capture runs (a
// picture window may be open), at most a minute, and is then run.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "app/capture_channel.h"

class QTimer;

namespace vistrel {

class TCommandLineCaptures : public QObject {
 public:
  struct THooks {
    std::function<bool()> idle;  // no capture runs
    std::function<TCaptureOutcome(const TCaptureRequest&)> run;
    // The tray tooltip while a delay counts down; empty: the usual one.
    std::function<void(const QString&)> show_status;
  };

  explicit TCommandLineCaptures(THooks hooks, int busy_wait_ms = 60000,
                                QObject* parent = nullptr);
  ~TCommandLineCaptures() override;

  // Takes the arguments of one command line; `reply` is called once.
  void Add(const std::vector<std::string>& args, std::function<void(const TCaptureReply&)> reply);

 private:
  struct TPending {
    TCaptureRequest request;
    std::function<void(const TCaptureReply&)> reply;
    QElapsedTimer since;  // started when added
  };
  void Tick();

  THooks hooks_;
  int busy_wait_ms_;
  QTimer* timer_;
  std::vector<TPending> pending_;
  QString status_shown_;
};

}  // namespace vistrel
