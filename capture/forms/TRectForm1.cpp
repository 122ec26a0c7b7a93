#include "capture/forms/TRectForm1.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <algorithm>

#include "commands/message_boxes.h"
#include "settings/other_options.h"
#include "capture/rect_size_rules.h"
#include "platform/beeper.h"

namespace vistrel {

namespace {

constexpr const char* kRefusedValue = "100";

// The standard message of a text that is no integer.
QString ConversionMessage(const QString& text) {
  return QString("'%1' is not a valid integer value").arg(text);
}

QLineEdit* DigitsField(int digits, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QString("\\d{0,%1}").arg(digits)), field));
  field->setMaxLength(digits);
  field->setFixedWidth(48);
  return field;
}

// So narrow a dialog must still show its whole caption: title bars use a
// bold font, and window managers put the window icon and up to three
// buttons with their gaps (some even for a dialog with only a close box)
// beside it.
int CaptionRoom(const QWidget& dialog) {
  QFont bold = dialog.font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  return metrics.horizontalAdvance(TRectForm1::kCaption) + 8 * metrics.height();
}

}  // namespace

TRectForm1::TRectForm1(PictureWindowOptions& options, IBeeper& beeper, int visible_width,
                       int visible_height, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Edit1(DigitsField(4, this)),
      Edit2(DigitsField(5, this)),
      Button1(new QPushButton("&Close", this)),
      Button2(new QPushButton("Max", this)),
      options_(options),
      beeper_(beeper),
      visible_width_(visible_width),
      visible_height_(visible_height) {
  setObjectName("RectForm1");
  setWindowTitle(kCaption);
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setHorizontalSpacing(6);
  auto* width_label = new QLabel("Width", this);
  auto* height_label = new QLabel("Height", this);
  width_label->setBuddy(Edit1);
  height_label->setBuddy(Edit2);
  layout->addWidget(width_label, 0, 0);
  layout->addWidget(Edit1, 0, 1);
  layout->addWidget(Button1, 0, 2);
  layout->addWidget(height_label, 1, 0);
  layout->addWidget(Edit2, 1, 1);
  layout->addWidget(Button2, 1, 2);
  Edit1->setObjectName("Edit1");
  Edit2->setObjectName("Edit2");
  Edit1->setText(QString::number(options_.CustomW));
  Edit2->setText(QString::number(options_.CustomH));
  Button1->setAutoDefault(false);
  Button2->setAutoDefault(false);
  // A click does not take the focus: "&Close" checks the fields itself,
  // and a field left by the mouse would be checked (and complained about)
  // a second time.
  Button1->setFocusPolicy(Qt::TabFocus);
  Button2->setFocusPolicy(Qt::TabFocus);
  setTabOrder(Edit1, Edit2);
  setTabOrder(Edit2, Button1);
  setTabOrder(Button1, Button2);
  Edit1->installEventFilter(this);
  Edit2->installEventFilter(this);
  connect(Button1, &QPushButton::clicked, this, &TRectForm1::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TRectForm1::Button2Click);
  setFixedSize(std::max(sizeHint().width(), CaptionRoom(*this)), sizeHint().height());
  Edit1->setFocus();
}

bool TRectForm1::CheckField(QLineEdit* field, int visible_extent) {
  const std::optional<int> value = FieldValue(field->text().toStdString());
  if (!value) {
    // The standard conversion message; the field keeps what it holds.
    ShowErrorBox(this, ConversionMessage(field->text()));
    return false;
  }
  if (CustomSizeAccepted(*value, visible_extent)) return true;
  beeper_.Beep();
  field->setText(kRefusedValue);
  return false;
}

bool TRectForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusOut || checking_ || refocusing_)
    return QDialog::eventFilter(watched, event);
  const auto reason = static_cast<QFocusEvent*>(event)->reason();
  // Only leaving the field within the dialog counts, not the dialog losing
  // the focus (a message box, another window).
  if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
      reason != Qt::MouseFocusReason && reason != Qt::OtherFocusReason)
    return QDialog::eventFilter(watched, event);
  auto* field = static_cast<QLineEdit*>(watched);
  checking_ = true;
  const bool accepted = CheckField(field, field == Edit1 ? visible_width_ : visible_height_);
  checking_ = false;
  if (!accepted) QTimer::singleShot(0, field, [this, field] { Refocus(field); });
  return QDialog::eventFilter(watched, event);
}

void TRectForm1::Refocus(QLineEdit* field) {
  // The field the user went to loses the focus to the refusal, not to the
  // user: checking it too would bounce the focus between two refused
  // fields for ever.
  refocusing_ = true;
  field->setFocus(Qt::OtherFocusReason);
  refocusing_ = false;
}

void TRectForm1::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Button1Click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TRectForm1::Button2Click() {
  const std::optional<TCustomSize> size = MaxCustomSize(visible_width_, visible_height_);
  if (!size) {
    // No size the fields would take fits into so small a view.
    beeper_.Beep();
    return;
  }
  Edit1->setText(QString::number(size->width));
  Edit2->setText(QString::number(size->height));
  options_.CustomW = size->width;
  options_.CustomH = size->height;
}

void TRectForm1::Button1Click() {
  // Closing leaves the field the user was in: both fields get the range
  // check of leaving them.
  checking_ = true;
  for (auto [field, extent] :
       {std::pair{Edit1, visible_width_}, std::pair{Edit2, visible_height_}}) {
    const std::optional<int> value = FieldValue(field->text().toStdString());
    if (value && !CustomSizeAccepted(*value, extent)) {
      beeper_.Beep();
      field->setText(kRefusedValue);
    }
  }
  checking_ = false;
  // Width first, then height; a field that holds no number stops there with
  // the conversion message, and the dialog stays open.
  for (auto [field, stored] :
       {std::pair{Edit1, &options_.CustomW}, std::pair{Edit2, &options_.CustomH}}) {
    const std::optional<int> value = FieldValue(field->text().toStdString());
    if (!value) {
      ShowErrorBox(this, ConversionMessage(field->text()));
      return;
    }
    *stored = *value;
  }
  accept();
}

}  // namespace vistrel
