#include "app/close_request_server.h"

#include <QLocalServer>
#include <QLocalSocket>

#include "app/single_instance.h"

namespace vistrel {

CloseRequestServer::CloseRequestServer(QStringList titles, std::function<bool()> close_program,
                                       QObject* parent)
    : QObject(parent),
      titles_(std::move(titles)),
      close_program_(std::move(close_program)),
      server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &CloseRequestServer::OnConnection);
}

CloseRequestServer::~CloseRequestServer() { server_->close(); }

bool CloseRequestServer::Listen() {
  const QString path = QString::fromStdString(CloseRequestSocketPath());
  // Only the guard's holder gets here, so a socket file left behind is stale.
  QLocalServer::removeServer(path);
  return server_->listen(path);
}

void CloseRequestServer::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnRequest(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void CloseRequestServer::OnRequest(QLocalSocket* socket) {
  if (!socket->canReadLine()) {
    if (socket->bytesAvailable() > 1024) socket->abort();  // not one of ours
    return;
  }
  const QString line = QString::fromUtf8(socket->readLine()).trimmed();
  const QString title = line.startsWith("CLOSE ") ? line.mid(6) : QString();
  const bool ours = !title.isEmpty() && titles_.contains(title, Qt::CaseInsensitive);
  const char* reply = !ours ? "NONE\n" : close_program_() ? "CLOSED\n" : "KEPT\n";
  socket->write(reply);
  socket->flush();
  socket->waitForBytesWritten(1000);
  socket->disconnectFromServer();
}

}  // namespace vistrel
