#include "platform/qt/portal_screen_source.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <QVariantMap>
#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/monitor.h"

namespace vistrel {

namespace {

constexpr char kPortal[] = "org.freedesktop.portal.Desktop";
constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
// The first use may ask the user whether the program may take pictures.
constexpr int kAnswerTimeoutMs = 120000;

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

// The picture file the portal wrote for a whole-desktop screenshot; empty
// when there is none, and `failure` says why.
QString TakeScreenshot(std::string& failure) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    failure = "there is no session bus to reach the desktop portal";
    return {};
  }
  // The request's object path is known before the call, so the answer
  // cannot come before we listen for it.
  const QString token = "vistrel" + QUuid::createUuid().toString(QUuid::Id128);
  QString sender = bus.baseService().mid(1);
  sender.replace('.', '_');
  const QString request = QString("%1/request/%2/%3").arg(kPortalPath, sender, token);
  RequestAnswer answer;
  bus.connect(kPortal, request, "org.freedesktop.portal.Request", "Response", &answer,
              SLOT(Response(uint, QVariantMap)));
  QDBusMessage call = QDBusMessage::createMethodCall(kPortal, kPortalPath,
                                                     "org.freedesktop.portal.Screenshot",
                                                     "Screenshot");
  call << QString() << QVariantMap{{"handle_token", token}, {"interactive", false}};
  const QDBusMessage reply = bus.call(call);
  if (reply.type() == QDBusMessage::ReplyMessage) {
    QTimer::singleShot(kAnswerTimeoutMs, &answer.loop, &QEventLoop::quit);
    if (!answer.code) answer.loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  bus.disconnect(kPortal, request, "org.freedesktop.portal.Request", "Response", &answer,
                 SLOT(Response(uint, QVariantMap)));
  if (reply.type() != QDBusMessage::ReplyMessage)
    failure = "the desktop portal offers no screenshot (" + reply.errorMessage().toStdString() + ")";
  else if (!answer.code)
    failure = "the desktop did not answer the request for a screenshot";
  else if (*answer.code == 1)
    failure = "the screenshot was cancelled";
  else if (*answer.code != 0)
    failure = "the desktop refused the screenshot";
  if (answer.code != 0u) return {};
  const QString file = QUrl(answer.results.value("uri").toString()).toLocalFile();
  if (file.isEmpty()) failure = "the desktop portal gave no picture file";
  return file;
}

}  // namespace

PortalScreenSource::PortalScreenSource(std::unique_ptr<IScreenSource> layout)
    : layout_(std::move(layout)) {}

std::vector<TMonitor> PortalScreenSource::Monitors() { return layout_->Monitors(); }

bool PortalScreenSource::GrabRect(const TScreenRect& rect, TPictureBitmap& out) {
  out.Allocate(std::max(rect.Width(), 0), std::max(rect.Height(), 0));
  if (out.Empty()) return true;
  const QString file = TakeScreenshot(failure_);
  if (file.isEmpty()) return false;
  const QImage shot = QImage(file).convertToFormat(QImage::Format_BGR888);
  // The picture was made for this grab alone.
  QFile::remove(file);
  const TScreenRect desktop = VirtualDesktopRect(Monitors());
  // A picture of another size than the desktop (monitors of different
  // scales drawn at one) would put pixels in the wrong places.
  if (shot.isNull() || shot.width() != desktop.Width() || shot.height() != desktop.Height()) {
    failure_ = "the desktop's screenshot does not match the monitors as they lie";
    return false;
  }
  const TScreenRect part = Intersection(rect, desktop);
  for (int y = part.top; y < part.bottom; ++y)
    std::memcpy(out.Row(y - rect.top) + std::size_t(part.left - rect.left) * 3,
                shot.constScanLine(y - desktop.top) + std::size_t(part.left - desktop.left) * 3,
                std::size_t(part.Width()) * 3);
  return true;
}

}  // namespace vistrel

#include "portal_screen_source.moc"
