#include "mail/forms/password_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>

#include "mail/forms/keyring.h"
#include "mail/forms/mail_texts.h"

namespace vistrel {

namespace tx = mail_texts;

namespace {

std::map<std::string, std::string>& Kept() {
  static std::map<std::string, std::string> passwords;
  return passwords;
}

std::string Key(const std::string& host, const std::string& user) { return host + '\n' + user; }

}  // namespace

TPasswordDialog::TPasswordDialog(const QString& user, const QString& host, bool keyring,
                                 QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(tx::kPasswordCaption);
  auto* layout = new QVBoxLayout(this);
  auto* prompt = new QLabel(QString(tx::kPasswordPrompt).arg(user, host), this);
  prompt->setTextFormat(Qt::PlainText);
  layout->addWidget(prompt);
  PasswordEdit = new QLineEdit(this);
  PasswordEdit->setEchoMode(QLineEdit::Password);
  layout->addWidget(PasswordEdit);
  RememberBox = nullptr;
  if (keyring) {
    RememberBox = new QCheckBox(tx::kRemember, this);
    layout->addWidget(RememberBox);
  } else {
    auto* note = new QLabel(tx::kPasswordSession, this);
    note->setWordWrap(true);
    layout->addWidget(note);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  PasswordEdit->setFocus();
}

QString TPasswordDialog::Password() const { return PasswordEdit->text(); }

std::optional<std::string> SessionPassword(QWidget* parent, const std::string& host,
                                           const std::string& user) {
  const auto kept = Kept().find(Key(host, user));
  if (kept != Kept().end()) return kept->second;
  const TKeyringLookup stored = LookupMailPassword(host, user);
  if (stored.password) {
    Kept()[Key(host, user)] = *stored.password;
    return stored.password;
  }
  TPasswordDialog dialog(QString::fromStdString(user), QString::fromStdString(host),
                         stored.available, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const std::string password = dialog.Password().toStdString();
  Kept()[Key(host, user)] = password;
  if (dialog.RememberBox && dialog.RememberBox->isChecked()) StoreMailPassword(host, user, password);
  return password;
}

void ForgetSessionPassword(const std::string& host, const std::string& user) {
  Kept().erase(Key(host, user));
  ClearMailPassword(host, user);
}

}  // namespace vistrel
