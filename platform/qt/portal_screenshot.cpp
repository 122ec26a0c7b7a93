#include "platform/qt/portal_screenshot.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <QVariantMap>
#include <cstdlib>
#include <optional>

namespace vistrel {

namespace {

constexpr char kPortal[] = "org.freedesktop.portal.Desktop";
constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
constexpr char kRequestInterface[] = "org.freedesktop.portal.Request";
constexpr int kDefaultWaitMs = 120000;
// Beyond any desktop of real monitors; a bigger picture is a bogus header
// that would only exhaust memory.
constexpr int kMaxSide = 32768;
constexpr qint64 kMaxPixels = qint64(16384) * 8192;

// Waits for the Response of one portal request.
class RequestAnswer : public QObject {
  Q_OBJECT

 public:
  std::optional<uint> code;
  QVariantMap results;
  QEventLoop loop;

 public slots:
  void Response(uint response, const QVariantMap& values) {
    code = response;
    results = values;
    loop.quit();
  }
};

// Set while a request waits for its answer.
bool waiting = false;

// Ends the dialog of a request that took too long, so it does not stay on
// the screen with nobody listening.
void CloseRequest(QDBusConnection& bus, const QString& request) {
  bus.asyncCall(QDBusMessage::createMethodCall(kPortal, request, kRequestInterface, "Close"));
}

}  // namespace

int PortalAnswerWaitMs() {
  if (const char* text = std::getenv("VISTREL_PORTAL_WAIT_MS")) {
    char* end = nullptr;
    const long ms = std::strtol(text, &end, 10);
    if (end != text && *end == '\0' && ms > 0 && ms <= kDefaultWaitMs) return int(ms);
  }
  return kDefaultWaitMs;
}

TPortalScreenshot TakePortalScreenshot(bool interactive) {
  TPortalScreenshot shot;
  if (waiting) {
    shot.failure = "another screenshot is still waiting for the desktop";
    return shot;
  }
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    shot.failure = "there is no session bus to reach the desktop portal";
    return shot;
  }
  // The request's object path is known before the call, so the answer
  // cannot come before we listen for it.
  const QString token = "vistrel" + QUuid::createUuid().toString(QUuid::Id128);
  QString sender = bus.baseService().mid(1);
  sender.replace('.', '_');
  const QString request = QString("%1/request/%2/%3").arg(kPortalPath, sender, token);
  RequestAnswer answer;
  bus.connect(kPortal, request, kRequestInterface, "Response", &answer,
              SLOT(Response(uint, QVariantMap)));
  QDBusMessage call = QDBusMessage::createMethodCall(kPortal, kPortalPath,
                                                     "org.freedesktop.portal.Screenshot",
                                                     "Screenshot");
  call << QString() << QVariantMap{{"handle_token", token}, {"interactive", interactive}};
  // The call and its answer are awaited in one loop that a portal which
  // never replies cannot hold beyond the wait.
  waiting = true;
  const QDBusPendingCall pending = bus.asyncCall(call, PortalAnswerWaitMs());
  QDBusPendingCallWatcher watcher(pending);
  QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &answer.loop, [&] {
    if (pending.isError()) answer.loop.quit();
  });
  QTimer::singleShot(PortalAnswerWaitMs(), &answer.loop, &QEventLoop::quit);
  if (!answer.code) answer.loop.exec(QEventLoop::ExcludeUserInputEvents);
  waiting = false;
  bus.disconnect(kPortal, request, kRequestInterface, "Response", &answer,
                 SLOT(Response(uint, QVariantMap)));
  // A call that timed out is a desktop that did not answer either.
  const bool refused_call = pending.isFinished() && pending.isError() &&
                            pending.error().type() != QDBusError::NoReply &&
                            pending.error().type() != QDBusError::Timeout;
  if (refused_call) {
    shot.failure = "the desktop portal offers no screenshot (" +
                   pending.error().message().toStdString() + ")";
  } else if (!answer.code) {
    CloseRequest(bus, request);
    shot.failure = "the desktop did not answer the request for a screenshot";
  } else if (*answer.code == 1) {
    shot.cancelled = true;
    shot.failure = "the screenshot was cancelled";
  } else if (*answer.code != 0) {
    shot.failure = "the desktop refused the screenshot";
  } else {
    return ReadPortalPicture(answer.results.value("uri").toString());
  }
  return shot;
}

TPortalScreenshot ReadPortalPicture(const QString& uri) {
  TPortalScreenshot shot;
  const QUrl url(uri);
  const QString file = url.isLocalFile() ? url.toLocalFile() : QString();
  if (file.isEmpty() || !QFileInfo(file).isFile()) {
    shot.failure = "the desktop portal gave no picture file";
    return shot;
  }
  QImageReader reader(file);
  const QSize size = reader.size();
  if (size.isValid() && (size.width() > kMaxSide || size.height() > kMaxSide ||
                         qint64(size.width()) * size.height() > kMaxPixels)) {
    shot.failure = QString("the desktop's picture is too large (%1 x %2)")
                       .arg(size.width())
                       .arg(size.height())
                       .toStdString();
    return shot;
  }
  reader.setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)));
  const QImage picture = reader.read();
  if (picture.isNull() || picture.width() < 1 || picture.height() < 1) {
    shot.failure = "the desktop portal's file is not a picture";
    return shot;
  }
  shot.picture = picture.convertToFormat(QImage::Format_BGR888);
  QFile::remove(file);
  return shot;
}

}  // namespace vistrel

#include "portal_screenshot.moc"
