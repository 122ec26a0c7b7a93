// Answers other processes on this display's single-instance socket (see
// single_instance.h and capture_channel.h): close requests for this copy's
// window titles, and captures asked for on the command line.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "app/capture_channel.h"

class QLocalServer;
class QLocalSocket;

namespace vistrel {

class RunningCopyServer : public QObject {
  Q_OBJECT
 public:
  using TReply = std::function<void(const TCaptureReply&)>;
  // `close_program` runs the whole exit sequence and the reply is sent
  // after it; it returns false when the user kept the program running.
  // `capture` takes the arguments of a command-line capture and calls its
  // reply once, when the capture has ended (possibly much later).
  RunningCopyServer(QStringList titles, std::function<bool()> close_program,
                    std::function<void(const std::vector<std::string>&, TReply)> capture,
                    QObject* parent = nullptr);
  ~RunningCopyServer() override;
  // Listens on this display's socket; false when it cannot.
  bool Listen();

 private:
  void OnConnection();
  void OnRequest(QLocalSocket* socket);
  void OnCaptureRequest(QLocalSocket* socket, const std::vector<std::string>& args);

  QStringList titles_;
  std::function<bool()> close_program_;
  std::function<void(const std::vector<std::string>&, TReply)> capture_;
  QLocalServer* server_;
};

}  // namespace vistrel
