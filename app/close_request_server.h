// Answers other copies' close requests (see single_instance.h) for this
// copy's window titles.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QLocalServer;
class QLocalSocket;

namespace vistrel {

class CloseRequestServer : public QObject {
  Q_OBJECT
 public:
  // `close_program` runs the whole exit sequence; the reply is sent after it.
  CloseRequestServer(QStringList titles, std::function<void()> close_program,
                     QObject* parent = nullptr);
  ~CloseRequestServer() override;
  // Listens on this display's socket; false when it cannot.
  bool Listen();

 private:
  void OnConnection();
  void OnRequest(QLocalSocket* socket);

  QStringList titles_;
  std::function<void()> close_program_;
  QLocalServer* server_;
};

}  // namespace vistrel
