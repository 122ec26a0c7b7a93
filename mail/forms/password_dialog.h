// "SMTP Password": asks for the login password of a mail server. Enter
// confirms, Esc cancels the send. Passwords given are kept by the running
// program only, per server and user, until a login with them is refused.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

namespace vistrel {

class TPasswordDialog : public QDialog {
  Q_OBJECT
 public:
  TPasswordDialog(const QString& user, const QString& host, QWidget* parent = nullptr);
  QString Password() const;

  QLineEdit* PasswordEdit;
};

// The kept password, else the dialog's answer (kept from then on); no value
// when the dialog was cancelled.
std::optional<std::string> SessionPassword(QWidget* parent, const std::string& host,
                                           const std::string& user);
// After a refused login: the next send asks again.
void ForgetSessionPassword(const std::string& host, const std::string& user);

}  // namespace vistrel
