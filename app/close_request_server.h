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
  // `close_program` runs the whole exit sequence and the reply is sent
  // after it; it returns false when the user kept the program running.
  CloseRequestServer(QStringList titles, std::function<bool()> close_program,
                     QObject* parent = nullptr);
  ~CloseRequestServer() override;
  // Listens on this display's socket; false when it cannot.
  bool Listen();

 private:
  void OnConnection();
  void OnRequest(QLocalSocket* socket);

  QStringList titles_;
  std::function<bool()> close_program_;
  QLocalServer* server_;
};

}  // namespace vistrel
