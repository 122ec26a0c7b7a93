#include "app/TAboutForm1.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "commands/TActionList1.h"
#include "commands/message_boxes.h"
#include "picture/picture_state.h"

namespace vistrel {

namespace tx = about_form_texts;

namespace {

// A face by name, falling back to a bold sans serif of the same pixel size
// where the face is not installed.
QFont BoldFont(const char* family, int pixel_height) {
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setBold(true);
  font.setPixelSize(pixel_height);
  return font;
}

QLabel* Placed(const QString& text, const QRect& place, const QFont& font, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(place);
  label->setFont(font);
  return label;
}

// Turns the clipboard commands off for one scope, on again at its end
// whatever happens in between.
class ClipboardCommandsOff {
 public:
  explicit ClipboardCommandsOff(TActionList1& commands) : commands_(commands) {
    commands_.DisableClipboardCommands();
  }
  ~ClipboardCommandsOff() { commands_.EnableClipboardCommands(); }

 private:
  TActionList1& commands_;
};

}  // namespace

TAboutForm1::TAboutForm1(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
  setObjectName("AboutForm1");
  setWindowTitle(tx::kCaption);
  setFixedSize(kClientWidth, kClientHeight);

  Placed(tx::kProduct, {12, 4, 288, 56}, BoldFont("Arial Black", 40), this)
      ->setObjectName("ProductName");
  QLabel* version = Placed(tx::kVersion, {308, 24, 80, 33}, BoldFont("Arial Black", 24), this);
  version->setObjectName("Version");
  QPalette red = version->palette();
  red.setColor(QPalette::WindowText, QColor(175, 6, 1));
  version->setPalette(red);

  QFont caption_font = font();
  caption_font.setPixelSize(15);
  Placed(tx::kCaptionLine, {12, 84, 374, 24}, caption_font, this)->setAlignment(Qt::AlignCenter);

  link_ = Placed(tx::kHomePage, {92, 140, 187, 16}, BoldFont("MS Sans Serif", 13), this);
  link_->setObjectName("HomePage");
  link_->setToolTip(tx::kHomePage);
  link_->setCursor(Qt::PointingHandCursor);
  link_->installEventFilter(this);
  SetLinkHot(false);

  auto* credits = new QGroupBox(tx::kCreditsTitle, this);
  credits->setGeometry(4, 164, 389, 101);
  auto* notices = new QPlainTextEdit(tx::kCredits, credits);
  notices->setObjectName("Credits");
  notices->setGeometry(8, 16, 373, 73);
  notices->setReadOnly(true);
  notices->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  ok_button_ = new QPushButton(tx::kOk, this);
  ok_button_->setGeometry(156, 276, 69, 25);
  ok_button_->setDefault(true);
  connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutForm1::SetLinkHot(bool hot) {
  QFont font = link_->font();
  font.setUnderline(hot);
  link_->setFont(font);
  QPalette palette = link_->palette();
  palette.setColor(QPalette::WindowText, hot ? QColor(Qt::blue) : QColor(Qt::black));
  link_->setPalette(palette);
}

bool TAboutForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == link_) {
    if (event->type() == QEvent::Enter) SetLinkHot(true);
    if (event->type() == QEvent::Leave) SetLinkHot(false);
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        link_->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
      LinkClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TAboutForm1::LinkClick() {
  if (QDesktopServices::openUrl(QUrl(tx::kHomePage))) return;
  QApplication::beep();
  ShowMessageBox(this, tx::kNoHomePage);
}

void TAboutForm1::showEvent(QShowEvent* event) {
  // Centred on the screen, frame included.
  if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect frame = frameGeometry();
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - frame.width()) / 2,
         area.top() + (area.height() - frame.height()) / 2);
  }
  QDialog::showEvent(event);
}

void Action1Execute(TActionList1& commands, const TPictureState& picture) {
  if (picture.PictureBusy) return;
  ClipboardCommandsOff off(commands);
  TAboutForm1 box;
  box.exec();
}

}  // namespace vistrel
