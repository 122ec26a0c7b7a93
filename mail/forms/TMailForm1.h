// "Send Picture as E-Mail Attachment": saves the picture as the attachment
// file and sends it to an SMTP server, or hands it to the desktop's mail
// program. Its fields live in "Setup\E-Mail", written whenever it closes.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "settings/mail_options.h"
#include "mail/TSmtpClient.h"
#include "picture/picture_document.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace vistrel {

class TMailForm1 : public QDialog {
  Q_OBJECT
 public:
  // Mails `document`'s picture, written with its writer options into
  // `auto_folder`.
  TMailForm1(const TPictureDocument& document, std::string auto_folder,
             QWidget* parent = nullptr);
  ~TMailForm1() override;

  // Asked after every pumped batch of events during a send: when it says
  // the program is ending, the send is aborted.
  void SetProgramEnding(std::function<bool()> ending) { program_ending_ = std::move(ending); }
  // Asked before the fields are stored: true once "Reset to Default and
  // Exit" has erased the settings, which must stay erased.
  void SetSettingsErased(std::function<bool()> erased) { settings_erased_ = std::move(erased); }

  void Button1Click();  // "SMTP send"
  void Button2Click();  // "MAPI send"
  void Button4Click();  // "Abort"

  bool Sending() const { return sends_running_ > 0; }
  // AutoFolder + "Attachment." + the chosen type in lower case.
  std::string AttachmentPath() const;

  QLineEdit* Edit1;  // mail server
  QComboBox* SecurityBox;  // "None", "STARTTLS", "TLS"
  QLabel* SecurityHint;    // the port used, or the choice a written port wants
  QLineEdit* Edit2;  // user ID
  QLineEdit* Edit3;  // from name
  QLineEdit* Edit4;  // from address
  QLineEdit* Edit5;  // subject
  QLineEdit* Edit6;  // to
  QPlainTextEdit* Memo1;  // body
  QButtonGroup* RadioGroup1;  // picture type 0..5
  QRadioButton* RadioButton1;  // "uuEncode"
  QRadioButton* RadioButton2;  // "uuMime"
  QCheckBox* CheckBox1;        // "HTML"
  QPushButton* Button1;        // "SMTP send"
  QPushButton* Button2;        // "MAPI send"
  QPushButton* Button3;        // "&Close"
  QPushButton* Button4;        // "Abort"

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QLabel* CaptionBar(const char* text, const QColor& back, const QColor& fore, int x, int y, int w);
  void ApplySendRule();
  void ShowSecurityHint();
  // The From address and every To address, before anything is sent; a
  // bad one is shown and ends the send.
  bool CheckAddresses();
  void Pump();
  void SaveAttachment();
  void FillMessage();
  void SetSendButtonsEnabled(bool on);
  MailOptions FieldValues() const;
  void StoreFields();

  const TPictureDocument& document_;
  std::string auto_folder_;
  TSmtpClient SMTP1;
  int sends_running_ = 0;
  bool stored_ = false;
  std::function<bool()> program_ending_;
  std::function<bool()> settings_erased_;
};

}  // namespace vistrel
