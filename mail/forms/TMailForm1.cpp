#include "mail/forms/TMailForm1.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QKeyEvent>

#include "commands/message_boxes.h"
#include "imaging/formats/picture_file.h"
#include "mail/forms/body_edit.h"
#include "mail/forms/mail_texts.h"
#include "mail/forms/password_dialog.h"
#include "mail/forms/xdg_email.h"
#include "mail/address_list.h"
#include "mail/message_text.h"
#include "mail/server_field.h"
#include "settings/file_naming.h"

namespace vistrel {

namespace tx = mail_texts;

namespace {

constexpr const char* kExtensions[6] = {"gif", "jpg", "tif", "pcx", "png", "bmp"};

// The body as the settings keep it (CR LF) and as the text field shows it.
QString StoredBody(const QString& shown) {
  QString text = shown;
  return text.replace("\n", "\r\n");
}
QString ShownBody(const std::string& stored) {
  return QString::fromStdString(stored).replace("\r\n", "\n").replace('\r', '\n');
}

void ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, "Vistrel-Pro", BoxText(text), QMessageBox::Ok, parent);
  box.exec();
}

// Counts a running send: Close and "MAPI send" are off meanwhile and the
// dialog refuses to close; both come back however the send ends.
class SendScope {
 public:
  SendScope(int& running, std::function<void(bool)> enable)
      : running_(running), enable_(std::move(enable)) {
    ++running_;
    enable_(false);
  }
  ~SendScope() {
    if (--running_ == 0) enable_(true);
  }

 private:
  int& running_;
  std::function<void(bool)> enable_;
};

}  // namespace

TMailForm1::TMailForm1(const TPictureDocument& document, std::string auto_folder,
                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      document_(document),
      auto_folder_(std::move(auto_folder)) {
  setWindowTitle(tx::kCaption);
  setFixedSize(425, 346);
  BuildControls();

  MailOptions stored;
  {
    SettingsStore store;
    stored = MailOptions::Load(store);
  }
  Edit1->setText(QString::fromStdString(stored.MailServer));
  Edit2->setText(QString::fromStdString(stored.UserId));
  Edit3->setText(QString::fromStdString(stored.LogonName));
  Edit4->setText(QString::fromStdString(stored.FromMail));
  Edit5->setText(QString::fromStdString(stored.Subject));
  Edit6->setText(QString::fromStdString(stored.ToMail));
  Memo1->setPlainText(ShownBody(stored.Body));
  (stored.MimeEncode ? RadioButton2 : RadioButton1)->setChecked(true);
  CheckBox1->setChecked(stored.HTML);
  RadioGroup1->button(stored.PictureType)->setChecked(true);
  SecurityBox->setCurrentIndex(stored.MailSecurity);
  ShowSecurityHint();

  SMTP1.Pump = [this] { Pump(); };
  ApplySendRule();
  qApp->installEventFilter(this);
}

// A dialog whose loop ended with the program never saw its close: its
// fields are kept all the same.
TMailForm1::~TMailForm1() { StoreFields(); }

QLabel* TMailForm1::CaptionBar(const char* text, const QColor& back, const QColor& fore, int x,
                               int y, int w) {
  auto* bar = new QLabel(QString::fromUtf8(text), this);
  bar->setGeometry(x, y, w, 17);
  bar->setIndent(4);
  bar->setAutoFillBackground(true);
  QPalette p = bar->palette();
  p.setColor(QPalette::Window, back);
  p.setColor(QPalette::WindowText, fore);
  bar->setPalette(p);
  return bar;
}

void TMailForm1::BuildControls() {
  const QColor highlight = palette().color(QPalette::Highlight);
  const char* left_captions[5] = {tx::kServer, tx::kUserId, tx::kFromName, tx::kFromMail,
                                  tx::kSubject};
  QLineEdit** left_edits[5] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5};
  const int left_limits[5] = {kMailServerLimit, kUserIdLimit, kFromNameLimit, kFromMailLimit,
                              kSubjectLimit};
  for (int i = 0; i < 5; ++i) {
    // The security row and its hint sit under the server field.
    const int y = 8 + 42 * i + (i > 0 ? 40 : 0);
    CaptionBar(left_captions[i], highlight, Qt::white, 8, y, 201);
    *left_edits[i] = new QLineEdit(this);
    (*left_edits[i])->setGeometry(8, y + 18, 201, 22);
    (*left_edits[i])->setMaxLength(left_limits[i]);
  }
  auto* security = new QLabel(tx::kSecurity, this);
  security->setGeometry(8, 52, 56, 22);
  SecurityBox = new QComboBox(this);
  SecurityBox->setGeometry(66, 52, 143, 22);
  for (const char* choice : tx::kSecurityChoices) SecurityBox->addItem(choice);
  security->setBuddy(SecurityBox);
  SecurityHint = new QLabel(this);
  SecurityHint->setGeometry(8, 75, 201, 14);
  QFont small = SecurityHint->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  SecurityHint->setFont(small);
  connect(SecurityBox, &QComboBox::currentIndexChanged, this, &TMailForm1::ShowSecurityHint);
  connect(Edit1, &QLineEdit::textChanged, this, &TMailForm1::ShowSecurityHint);

  CaptionBar(tx::kBody, highlight, Qt::white, 8, 258, 409);
  Memo1 = new TBodyEdit(kBodyLimit, this);
  Memo1->setGeometry(8, 276, 409, 62);

  CaptionBar(tx::kTo, QColor(0, 128, 128), Qt::black, 216, 8, 201);
  Edit6 = new QLineEdit(this);
  Edit6->setGeometry(216, 26, 201, 22);
  // One more than the limit: a list cut by a paste or from the settings
  // is refused at the send instead of losing its last recipients.
  Edit6->setMaxLength(kToMailLimit + 1);

  auto* group = new QGroupBox(tx::kAttachAs, this);
  group->setGeometry(216, 52, 201, 72);
  RadioGroup1 = new QButtonGroup(this);
  for (int i = 0; i < 6; ++i) {
    auto* button = new QRadioButton(tx::kTypes[i], group);
    button->setGeometry(12 + 96 * (i / 3), 17 + 17 * (i % 3), 80, 17);
    RadioGroup1->addButton(button, i);
  }

  auto* encodings = new QButtonGroup(this);
  RadioButton1 = new QRadioButton(tx::kUuEncode, this);
  RadioButton1->setGeometry(218, 126, 90, 20);
  RadioButton2 = new QRadioButton(tx::kUuMime, this);
  RadioButton2->setGeometry(314, 126, 90, 20);
  encodings->addButton(RadioButton1);
  encodings->addButton(RadioButton2);
  CheckBox1 = new QCheckBox(tx::kHtml, this);
  CheckBox1->setGeometry(218, 145, 90, 20);

  Button1 = new QPushButton(tx::kSmtpSend, this);
  Button1->setGeometry(216, 167, 98, 24);
  Button1->setToolTip(tx::kSmtpSendHint);
  Button1->setDefault(true);
  Button2 = new QPushButton(tx::kMapiSend, this);
  Button2->setGeometry(319, 167, 98, 24);
  Button2->setToolTip(tx::kMapiSendHint);
  Button3 = new QPushButton(tx::kClose, this);
  Button3->setGeometry(216, 193, 98, 24);
  Button4 = new QPushButton(tx::kAbort, this);
  Button4->setGeometry(319, 193, 98, 24);
  for (QPushButton* b : {Button2, Button3, Button4}) b->setAutoDefault(false);

  connect(Button1, &QPushButton::clicked, this, &TMailForm1::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TMailForm1::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
  connect(Button4, &QPushButton::clicked, this, &TMailForm1::Button4Click);
  for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6})
    connect(e, &QLineEdit::textChanged, this, &TMailForm1::ApplySendRule);

  // Tab order: the left column, the body, then the right column.
  QWidget* order[] = {Edit1, SecurityBox, Edit2,   Edit3,   Edit4,   Edit5,
                      Memo1, Edit6,       Button1, Button2, Button3, Button4};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TMailForm1::ApplySendRule() {
  bool all = true;
  for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6}) all = all && !e->text().isEmpty();
  Button1->setEnabled(all);
}

void TMailForm1::ShowSecurityHint() {
  const auto security = TMailSecurity(SecurityBox->currentIndex());
  QString hint = QString(tx::kPortHint).arg(DefaultPort(security));
  if (security == TMailSecurity::None) {
    // Never switched silently: the user chooses.
    try {
      const std::uint16_t port = ParseServerField(Edit1->text().toStdString()).port;
      if (port == DefaultPort(TMailSecurity::StartTls) || port == DefaultPort(TMailSecurity::Tls)) {
        const auto fits = port == DefaultPort(TMailSecurity::Tls) ? TMailSecurity::Tls : TMailSecurity::StartTls;
        hint = QString(tx::kPortWantsHint).arg(port).arg(tx::kSecurityChoices[int(fits)]);
      }
    } catch (const std::exception&) {
      // A bad port is named when sending.
    }
  }
  SecurityHint->setText(hint);
  SecurityHint->setToolTip(hint);
}

void TMailForm1::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Edit6->setFocus();
}

bool TMailForm1::eventFilter(QObject* watched, QEvent* event) {
  // Alt+M and Alt+A press their buttons at once, whichever field has the
  // focus (fields would take the keys first, and a button's own shortcut
  // clicks only after its animation, so a key typed meanwhile could close
  // the dialog before the send starts).
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::AltModifier &&
        (key->key() == Qt::Key_M || key->key() == Qt::Key_A)) {
      QPushButton* button = key->key() == Qt::Key_M ? Button2 : Button4;
      if (button->isEnabled()) button->click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TMailForm1::closeEvent(QCloseEvent* event) {
  if (Sending()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void TMailForm1::done(int result) {
  // Escape, "&Close" and the close box wait for a running send to end.
  if (Sending()) return;
  StoreFields();
  QDialog::done(result);
}

void TMailForm1::StoreFields() {
  // Once per dialog; never after "Reset to Default and Exit" erased them.
  if (stored_ || (settings_erased_ && settings_erased_())) return;
  stored_ = true;
  SettingsStore store;
  FieldValues().Save(store);
  store.Close();
}

MailOptions TMailForm1::FieldValues() const {
  MailOptions o;
  o.MailServer = Edit1->text().toStdString();
  o.UserId = Edit2->text().toStdString();
  o.LogonName = Edit3->text().toStdString();
  o.FromMail = Edit4->text().toStdString();
  o.Subject = Edit5->text().toStdString();
  o.ToMail = Edit6->text().toStdString();
  o.Body = StoredBody(Memo1->toPlainText()).toStdString();
  o.MimeEncode = RadioButton2->isChecked();
  o.HTML = CheckBox1->isChecked();
  o.PictureType = RadioGroup1->checkedId();
  o.MailSecurity = SecurityBox->currentIndex();
  return o;
}

void TMailForm1::Pump() {
  QApplication::processEvents();
  if (program_ending_ && program_ending_()) SMTP1.Abort();
}

std::string TMailForm1::AttachmentPath() const {
  return WithTrailingSeparator(auto_folder_) + "Attachment." +
         kExtensions[RadioGroup1->checkedId()];
}

void TMailForm1::SaveAttachment() { SavePictureFile(AttachmentPath(), document_.Picture(), document_.Params()); }

void TMailForm1::SetSendButtonsEnabled(bool on) {
  Button3->setEnabled(on);
  Button2->setEnabled(on);
}

void TMailForm1::FillMessage() {
  const MailOptions f = FieldValues();
  SMTP1.EncodeType = f.MimeEncode ? uuMime : uuCode;
  SMTP1.SubType = f.HTML ? mtHtml : mtPlain;
  TMailMessage& m = SMTP1.MailMessage;
  m.FromAddress = f.FromMail;
  m.FromName = f.LogonName;
  m.ToAddress = {f.ToMail};
  m.Body = SplitLines(f.Body);
  m.Subject = f.Subject;
  // The file written in lower case; the message names it as the type's
  // button shows it.
  m.Attachments = {{AttachmentPath(), std::string("Attachment.") + tx::kTypes[f.PictureType]}};
}

bool TMailForm1::CheckAddresses() {
  if (Edit6->text().size() > kToMailLimit) {
    ShowErrorBox(this, QString(tx::kToTooLong).arg(kToMailLimit));
    return false;
  }
  try {
    CheckAddress(Edit4->text().toStdString());
    ParseAddressList(OneLine(Edit6->text().toStdString()));
  } catch (const std::exception& e) {
    ShowErrorBox(this, QString::fromUtf8(e.what()));
    return false;
  }
  return true;
}

void TMailForm1::Button1Click() {
  QApplication::processEvents();
  if (!CheckAddresses()) return;
  try {
    // The buttons stay as they are, but the dialog stays open: a hidden
    // dialog would leave its Abort out of reach.
    SendScope connecting(sends_running_, [](bool) {});
    SMTP1.Security = TMailSecurity(SecurityBox->currentIndex());
    const TServerAddress server =
        ParseServerField(Edit1->text().toStdString(), DefaultPort(SMTP1.Security));
    SMTP1.Host = server.host;
    SMTP1.Port = server.port;
    SMTP1.UserID = Edit2->text().toStdString();
    SMTP1.AskPassword = [this] { return SessionPassword(this, SMTP1.Host, SMTP1.UserID); };
    SMTP1.Connect();
  } catch (const TLoginRefused& e) {
    ForgetSessionPassword(SMTP1.Host, SMTP1.UserID);
    ShowErrorBox(this, QString::fromUtf8(e.what()));
    return;
  } catch (const TSocketAbort& e) {
    // Esc in the password dialog ends the send without a word.
    if (std::string(e.what()) != kLoginCanceledText) ShowErrorBox(this, QString::fromUtf8(e.what()));
    return;
  } catch (const std::exception& e) {
    ShowErrorBox(this, QString::fromUtf8(e.what()));
    return;
  }
  if (!SMTP1.Connected()) {
    ShowMessage(this, tx::kNotConnected);
    return;
  }
  std::string error;
  {
    SendScope scope(sends_running_, [this](bool on) { SetSendButtonsEnabled(on); });
    QApplication::processEvents();
    try {
      SaveAttachment();
      FillMessage();
      QApplication::processEvents();
      SMTP1.SendMail();
    } catch (const std::exception& e) {
      error = e.what();
    }
    // A failing QUIT never hides the error that came first.
    try {
      SMTP1.Disconnect();
    } catch (const std::exception& e) {
      if (error.empty()) error = e.what();
    }
  }
  if (!error.empty()) ShowErrorBox(this, QString::fromUtf8(error));
}

void TMailForm1::Button2Click() {
  TXdgEmailResult result;
  std::string error;
  {
    SendScope scope(sends_running_, [this](bool on) { SetSendButtonsEnabled(on); });
    QApplication::processEvents();
    try {
      SaveAttachment();
      result = SendWithXdgEmail(Edit5->text(), Memo1->toPlainText(),
                                QString::fromStdString(AttachmentPath()), Edit6->text(),
                                [] { QApplication::processEvents(); });
    } catch (const std::exception& e) {
      error = e.what();
    }
    QApplication::processEvents();
  }
  if (!error.empty())
    ShowErrorBox(this, QString::fromUtf8(error));
  else if (result.kind == TXdgEmailResult::Failed)
    ShowMessage(this, tx::kMapiError + QString::number(result.code) + " ");
}

void TMailForm1::Button4Click() {
  SMTP1.Abort();
  Button3->setEnabled(true);
}

}  // namespace vistrel
