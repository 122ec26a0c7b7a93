#include "app/running_copy_server.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

#include "app/single_instance.h"

namespace vistrel {

namespace {

// A request line longer than this is not one of ours. Command-line
// arguments with long paths still fit many times over.
constexpr qint64 kMaxRequestBytes = 64 * 1024;

void SendAndHangUp(QLocalSocket* socket, const QByteArray& line) {
  socket->write(line);
  socket->flush();
  socket->waitForBytesWritten(1000);
  socket->disconnectFromServer();
}

}  // namespace

RunningCopyServer::RunningCopyServer(
    QStringList titles, std::function<bool()> close_program,
    std::function<void(const std::vector<std::string>&, TReply)> capture, QObject* parent)
    : QObject(parent),
      titles_(std::move(titles)),
      close_program_(std::move(close_program)),
      capture_(std::move(capture)),
      server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &RunningCopyServer::OnConnection);
}

RunningCopyServer::~RunningCopyServer() { server_->close(); }

bool RunningCopyServer::Listen() {
  const QString path = QString::fromStdString(CloseRequestSocketPath());
  // Only the guard's holder gets here, so a socket file left behind is stale.
  QLocalServer::removeServer(path);
  return server_->listen(path);
}

void RunningCopyServer::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnRequest(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  }
}

void RunningCopyServer::OnRequest(QLocalSocket* socket) {
  if (!socket->canReadLine()) {
    if (socket->bytesAvailable() > kMaxRequestBytes) socket->abort();  // not one of ours
    return;
  }
  const std::string line = socket->readLine().toStdString();
  if (std::optional<std::vector<std::string>> args = CaptureRequestArguments(line))
    return OnCaptureRequest(socket, *args);
  const QString text = QString::fromStdString(line).trimmed();
  const QString title = text.startsWith("CLOSE ") ? text.mid(6) : QString();
  const bool ours = !title.isEmpty() && titles_.contains(title, Qt::CaseInsensitive);
  SendAndHangUp(socket, !ours ? "NONE\n" : close_program_() ? "CLOSED\n" : "KEPT\n");
}

void RunningCopyServer::OnCaptureRequest(QLocalSocket* socket,
                                         const std::vector<std::string>& args) {
  // One request per connection: whatever else arrives is ignored.
  disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
  socket->write(QByteArray(kCaptureAccepted) + "\n");
  socket->flush();
  // The asking process may be gone by the time the capture ends.
  QPointer<QLocalSocket> alive(socket);
  capture_(args, [alive](const TCaptureReply& reply) {
    if (alive && alive->state() == QLocalSocket::ConnectedState)
      SendAndHangUp(alive, QByteArray::fromStdString(CaptureReplyLine(reply)));
  });
}

}  // namespace vistrel
