#include "mail/forms/xdg_email.h"

#include <QProcess>
#include <QStandardPaths>

namespace vistrel {

TXdgEmailResult SendWithXdgEmail(const QString& subject, const QString& body, const QString& file,
                                 const QString& to, const std::function<void()>& pump) {
  const QString program = QStandardPaths::findExecutable("xdg-email");
  if (program.isEmpty()) return {TXdgEmailResult::Unavailable, 0};
  QStringList args{"--subject", subject, "--body", body, "--attach", file};
  if (!to.isEmpty()) args << to;
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start(program, args);
  if (!process.waitForStarted()) return {TXdgEmailResult::Unavailable, 0};
  while (!process.waitForFinished(10)) {
    if (process.state() == QProcess::NotRunning) break;
    pump();
  }
  if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
    return {TXdgEmailResult::Sent, 0};
  // A crash has no exit status of its own; 255 stands for it.
  return {TXdgEmailResult::Failed, process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 255};
}

}  // namespace vistrel
