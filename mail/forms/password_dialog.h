// "SMTP Password": asks for the login password of a mail server. Enter
// confirms, Esc cancels the send. Passwords are kept by the running program
// per server and user, and in the desktop's keyring when the user ticks
// "Remember in the keyring", until a login with them is refused.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;

namespace vistrel {

class TPasswordDialog : public QDialog {
  Q_OBJECT
 public:
  // Without a keyring the dialog says the password lasts for this session.
  TPasswordDialog(const QString& user, const QString& host, bool keyring, QWidget* parent = nullptr);
  QString Password() const;

  QLineEdit* PasswordEdit;
  QCheckBox* RememberBox;  // null without a keyring
};

// The kept password, else the keyring's, else the dialog's answer (kept
// from then on); no value when the dialog was cancelled.
std::optional<std::string> SessionPassword(QWidget* parent, const std::string& host,
                                           const std::string& user);
// After a refused login: the next send asks again (also removed from the
// keyring).
void ForgetSessionPassword(const std::string& host, const std::string& user);

}  // namespace vistrel
