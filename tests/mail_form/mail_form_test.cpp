#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "../mail/script_server.h"
#include "settings/mail_options.h"
#include "mail/forms/TMailForm1.h"
#include "mail/forms/mail_texts.h"
#include "mail/forms/keyring.h"
#include "mail/forms/password_dialog.h"
#include "mail/address_list.h"

namespace vistrel {
namespace {

using namespace vistrel::testing;
namespace fs = std::filesystem;
namespace tx = mail_texts;

// Answers every message box the dialog shows, keeping its text.
class BoxCatcher {
 public:
  BoxCatcher() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (box && box->isVisible()) {
          texts.push_back(box->text().toStdString());
          box->accept();
        }
      }
    });
    timer_.start();
  }
  std::vector<std::string> texts;

 private:
  QTimer timer_;
};

std::vector<Step> FullConversation() {
  return {Reply("220 hi\r\n"),     ReadLine(), Reply("250 hello\r\n"), ReadLine(),
          Reply("250 reset\r\n"),  ReadLine(), Reply("250 ok\r\n"),    ReadLine(),
          Reply("250 ok\r\n"),     ReadLine(), Reply("354 go\r\n"),    ReadData(),
          Reply("250 queued\r\n"), ReadLine(), Reply("221 bye\r\n")};
}

class MailFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("vistrel-mailform-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_ / "config");
    fs::create_directories(folder_ / "shots");
    setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
    TPictureBitmap& picture = document_.Picture();
    picture.Allocate(7, 5);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 21; ++x) picture.Row(y)[x] = std::uint8_t(x * 11 + y * 40);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::unique_ptr<TMailForm1> Form(std::string folder = "") {
    if (folder.empty()) folder = (folder_ / "shots").string();  // without a trailing separator
    return std::make_unique<TMailForm1>(document_, folder);
  }
  void FillFields(TMailForm1& f, std::uint16_t port) {
    f.Edit1->setText(QString("127.0.0.1:%1").arg(port));
    f.Edit2->setText("tester");
    f.Edit3->setText("Me");
    f.Edit4->setText("me@example.org");
    f.Edit6->setText("you@example.org");
  }
  MailOptions Stored() {
    SettingsStore store;
    return MailOptions::Load(store);
  }

  fs::path folder_;
  TPictureDocument document_;
};

TEST_F(MailFormTest, LooksAsDefinedAndStartsWithTheDefaults) {
  auto f = Form();
  EXPECT_EQ(f->windowTitle(), tx::kCaption);
  EXPECT_EQ(f->size(), QSize(425, 346));
  EXPECT_EQ(f->Edit5->text(), "Vistrel-Pro Picture");
  EXPECT_EQ(f->Memo1->toPlainText(), "Picture attachment");
  EXPECT_TRUE(f->RadioButton2->isChecked());
  EXPECT_FALSE(f->CheckBox1->isChecked());
  EXPECT_EQ(f->RadioGroup1->checkedButton()->text(), "PNG");
  EXPECT_EQ(f->Button1->toolTip(), tx::kSmtpSendHint);
  EXPECT_EQ(f->Button2->toolTip(), tx::kMapiSendHint);
  EXPECT_TRUE(f->Button1->isDefault());
  QStringList captions;
  for (QLabel* l : f->findChildren<QLabel*>()) captions << l->text();
  for (const char* c :
       {tx::kServer, tx::kUserId, tx::kFromName, tx::kFromMail, tx::kSubject, tx::kBody, tx::kTo})
    EXPECT_TRUE(captions.contains(c)) << c;
  for (QLabel* l : f->findChildren<QLabel*>()) {
    if (l == f->SecurityHint || l->text() == tx::kSecurity) continue;
    const QColor back = l->palette().color(QPalette::Window);
    if (l->text() == tx::kTo) {
      EXPECT_EQ(back, QColor(0, 128, 128));
      EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(Qt::black));
    } else {
      EXPECT_EQ(back, f->palette().color(QPalette::Highlight));
      EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(Qt::white));
    }
  }
}

TEST_F(MailFormTest, TheSecurityRowHintsAtThePortAndKeepsItsChoice) {
  {
    auto f = Form();
    EXPECT_GT(f->SecurityBox->y(), f->Edit1->geometry().bottom());
    EXPECT_LT(f->SecurityHint->geometry().bottom(), f->Edit2->y() - 18);  // above Edit2's caption
    ASSERT_EQ(f->SecurityBox->count(), 3);
    EXPECT_EQ(f->SecurityBox->itemText(1), "STARTTLS");
    EXPECT_EQ(f->SecurityBox->currentIndex(), 0);
    EXPECT_EQ(f->SecurityHint->text(), "Port 25 unless the field names one");
    f->Edit1->setText("smtp.example.org:465");
    EXPECT_EQ(f->SecurityHint->text(), "Port 465 calls for TLS: choose it");
    f->Edit1->setText("smtp.example.org:587");
    EXPECT_EQ(f->SecurityHint->text(), "Port 587 calls for STARTTLS: choose it");
    // The longest hint is seen whole.
    EXPECT_LE(f->SecurityHint->fontMetrics().horizontalAdvance(f->SecurityHint->text()),
              f->SecurityHint->width());
    EXPECT_EQ(f->SecurityBox->currentIndex(), 0);  // never switched for the user
    f->SecurityBox->setCurrentIndex(2);
    EXPECT_EQ(f->SecurityHint->text(), "Port 465 unless the field names one");
    f->close();
  }
  EXPECT_EQ(Stored().MailSecurity, 2);
  EXPECT_EQ(Form()->SecurityBox->currentIndex(), 2);
}

TEST_F(MailFormTest, StartTlsMissingStopsAfterEhloWithOneBox) {
  ScriptServer server({Reply("220 hi\r\n"), ReadLine(), Reply("250-hi\r\n250 SIZE 1000\r\n"),
                       ReadLine()});
  auto f = Form();
  f->show();
  FillFields(*f, server.Port());
  f->SecurityBox->setCurrentIndex(1);
  BoxCatcher boxes;
  f->Button1Click();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{std::string(kNoStartTlsText) + "127.0.0.1"});
  const std::string received = server.Received();
  EXPECT_EQ(received.rfind("EHLO ", 0), 0u);
  EXPECT_EQ(received.find("\r\n"), received.size() - 2);  // nothing after EHLO
  EXPECT_NE(received, "EHLO tester\r\n");  // the machine's name, not the user ID
}

// Answers every "SMTP Password" dialog with the next of `answers`: text
// typed, then the key pressed, the box ticked first when asked.
class PasswordAnswerer {
 public:
  struct Answer {
    QString text;
    Qt::Key key;
    bool remember = false;
  };
  PasswordAnswerer() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* d = qobject_cast<TPasswordDialog*>(w);
        if (!d || !d->isVisible() || answers.empty()) continue;
        const Answer a = answers.front();
        answers.erase(answers.begin());
        ++asked;
        EXPECT_EQ(d->windowTitle(), tx::kPasswordCaption);
        EXPECT_EQ(d->focusWidget(), d->PasswordEdit);
        EXPECT_EQ(d->PasswordEdit->echoMode(), QLineEdit::Password);
        had_box = d->RememberBox != nullptr;
        if (a.remember && d->RememberBox) d->RememberBox->setChecked(true);
        QTest::keyClicks(d->PasswordEdit, a.text);
        QTest::keyClick(d->PasswordEdit, a.key);
      }
    });
    timer_.start();
  }
  std::vector<Answer> answers;
  int asked = 0;
  bool had_box = false;

 private:
  QTimer timer_;
};

TEST_F(MailFormTest, WithoutAKeyringThePasswordIsAskedMaskedAndKeptForTheSession) {
  ForgetSessionPassword("mail.example.org", "tester");
  PasswordAnswerer answerer;
  answerer.answers = {{"secret", Qt::Key_Escape}, {"secret", Qt::Key_Return}};
  EXPECT_EQ(SessionPassword(nullptr, "mail.example.org", "tester"), std::nullopt);
  EXPECT_EQ(SessionPassword(nullptr, "mail.example.org", "tester"), "secret");
  EXPECT_FALSE(answerer.had_box);  // the dialog says it lasts for the session instead
  EXPECT_EQ(SessionPassword(nullptr, "mail.example.org", "tester"), "secret");  // no dialog
  EXPECT_EQ(answerer.asked, 2);
  ForgetSessionPassword("mail.example.org", "tester");  // a refused login
  answerer.answers = {{"other", Qt::Key_Enter}};
  EXPECT_EQ(SessionPassword(nullptr, "mail.example.org", "tester"), "other");
  EXPECT_EQ(answerer.asked, 3);
}

TEST_F(MailFormTest, WithAKeyringATickedPasswordIsStoredReadBackAndForgotten) {
  if (!getenv("VISTREL_TEST_KEYRING")) GTEST_SKIP() << "needs a Secret Service (mail_form_keyring)";
  const std::string host = "mail.example.org";
  ForgetSessionPassword(host, "tester");
  ASSERT_TRUE(LookupMailPassword(host, "tester").available);
  EXPECT_EQ(LookupMailPassword(host, "tester").password, std::nullopt);
  PasswordAnswerer answerer;
  answerer.answers = {{"secret", Qt::Key_Return, true}};
  EXPECT_EQ(SessionPassword(nullptr, host, "tester"), "secret");
  EXPECT_TRUE(answerer.had_box);
  EXPECT_EQ(LookupMailPassword(host, "tester").password, "secret");
  EXPECT_EQ(LookupMailPassword(host, "other").password, std::nullopt);  // per user
  ForgetSessionPassword(host, "tester");  // a refused login
  EXPECT_EQ(LookupMailPassword(host, "tester").password, std::nullopt);
  answerer.answers = {{"unticked", Qt::Key_Return, false}};
  EXPECT_EQ(SessionPassword(nullptr, host, "tester"), "unticked");
  EXPECT_EQ(LookupMailPassword(host, "tester").password, std::nullopt);
  // One stored earlier is read without asking.
  ASSERT_TRUE(StoreMailPassword(host, "keyed", "from the keyring"));
  EXPECT_EQ(SessionPassword(nullptr, host, "keyed"), "from the keyring");
  EXPECT_EQ(answerer.asked, 2);
}

TEST_F(MailFormTest, SmtpSendNeedsAllSixOneLineFields) {
  auto f = Form();
  EXPECT_FALSE(f->Button1->isEnabled());
  EXPECT_TRUE(f->Button2->isEnabled());
  FillFields(*f, 25);
  EXPECT_TRUE(f->Button1->isEnabled());
  f->Edit5->clear();
  EXPECT_FALSE(f->Button1->isEnabled());
  f->Edit5->setText("x");
  f->Memo1->clear();  // the body may be empty
  EXPECT_TRUE(f->Button1->isEnabled());
}

TEST_F(MailFormTest, FocusStartsInTheToField) {
  auto f = Form();
  f->show();
  QApplication::setActiveWindow(f.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(f.get()));
  EXPECT_EQ(QApplication::focusWidget(), f->Edit6);
}

TEST_F(MailFormTest, EveryCloseStoresAllFields) {
  {
    auto f = Form();
    f->show();
    FillFields(*f, 2525);
    f->Edit5->setText("unsent subject");
    f->Memo1->setPlainText("one\ntwo");
    f->RadioButton1->setChecked(true);
    f->CheckBox1->setChecked(true);
    f->RadioGroup1->button(5)->setChecked(true);
    f->close();  // the close box
    EXPECT_FALSE(f->isVisible());
  }
  const MailOptions o = Stored();
  EXPECT_EQ(o.MailServer, "127.0.0.1:2525");  // kept as typed
  EXPECT_EQ(o.Subject, "unsent subject");
  EXPECT_EQ(o.Body, "one\r\ntwo");
  EXPECT_FALSE(o.MimeEncode);
  EXPECT_TRUE(o.HTML);
  EXPECT_EQ(o.PictureType, 5);
  auto again = Form();
  EXPECT_EQ(again->Memo1->toPlainText(), "one\ntwo");
  EXPECT_EQ(again->RadioGroup1->checkedButton()->text(), "BMP");
  QTest::keyClick(again.get(), Qt::Key_Escape);
  EXPECT_EQ(again->result(), QDialog::Rejected);
}

TEST_F(MailFormTest, ASendWritesTheAttachmentInLowerCaseAndNamesItInCapitals) {
  ScriptServer server(FullConversation());
  auto f = Form();
  f->show();
  FillFields(*f, server.Port());
  f->RadioGroup1->button(5)->setChecked(true);
  bool close_was_off = false;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (f->Sending())
      close_was_off = close_was_off || (!f->Button3->isEnabled() && !f->Button2->isEnabled());
  });
  probe.start(0);
  BoxCatcher boxes;
  f->Button1Click();
  EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
  EXPECT_TRUE(fs::exists(folder_ / "shots" / "Attachment.bmp"));
  EXPECT_NE(server.Data().find("filename=\"Attachment.BMP\""), std::string::npos);
  EXPECT_TRUE(close_was_off);  // while it ran
  EXPECT_TRUE(f->Button3->isEnabled());
  EXPECT_TRUE(f->Button2->isEnabled());
}

TEST_F(MailFormTest, ARefusedConnectionIsOneBoxAndTheNextSendWorks) {
  auto f = Form();
  f->show();
  FillFields(*f, ClosedPort());
  BoxCatcher boxes;
  f->Button1Click();
  ASSERT_EQ(boxes.texts, std::vector<std::string>{"Connection Failed"});
  EXPECT_EQ(f->Edit4->text(), "me@example.org");
  ScriptServer server(FullConversation());
  f->Edit1->setText(QString("127.0.0.1:%1").arg(server.Port()));
  f->Button1Click();
  EXPECT_EQ(boxes.texts.size(), 1u);
  EXPECT_NE(server.Data().find("Attachment.PNG"), std::string::npos);
}

TEST_F(MailFormTest, AMissingFolderEndsTheSendAfterQuit) {
  ScriptServer server(
      {Reply("220 hi\r\n"), ReadLine(), Reply("250 hello\r\n"), ReadLine(), Reply("221 bye\r\n")});
  auto f = Form((folder_ / "gone").string() + "/");
  f->show();
  FillFields(*f, server.Port());
  BoxCatcher boxes;
  f->Button1Click();
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_NE(boxes.texts[0].find("gone"), std::string::npos) << boxes.texts[0];
  EXPECT_EQ(server.Commands().back(), "QUIT");
  EXPECT_TRUE(f->Button3->isEnabled());
}

TEST_F(MailFormTest, DuringASendTheDialogStaysOpenAndAbortEndsIt) {
  ScriptServer server(
      {Reply("220 hi\r\n"), ReadLine(), Reply("250 hello\r\n"), ReadLine(), Hang()});
  auto f = Form();
  f->show();
  FillFields(*f, server.Port());
  int step = 0;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    if (!f->Sending() || step > 2) return;
    if (step == 0) QTest::keyClick(f.get(), Qt::Key_Escape);
    if (step == 1) f->close();
    if (step == 2) {
      EXPECT_TRUE(f->isVisible());
      QTest::keyClick(f->Edit6, Qt::Key_A, Qt::AltModifier);  // "Abort"
    }
    ++step;
  });
  user.start(20);
  BoxCatcher boxes;
  f->Button1Click();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Socket readln aborted"});
  EXPECT_TRUE(f->isVisible());
  EXPECT_TRUE(f->Button3->isEnabled());
  EXPECT_TRUE(f->Button2->isEnabled());
}

TEST_F(MailFormTest, WhileConnectingTheDialogStaysOpenAndAbortEndsIt) {
  ScriptServer server({Hang()});  // accepts, never greets
  auto f = Form();
  f->show();
  FillFields(*f, server.Port());
  int pumps = 0;
  // Runs after the events of every wait's pump, so only once connecting.
  f->SetProgramEnding([&] {
    if (++pumps == 1) {
      QTest::keyClick(f.get(), Qt::Key_Escape);
      f->close();
    } else if (pumps == 2) {
      EXPECT_TRUE(f->isVisible());
      QTest::keyClick(f->Edit6, Qt::Key_A, Qt::AltModifier);  // "Abort"
    }
    return false;
  });
  BoxCatcher boxes;
  f->Button1Click();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Socket readln aborted"});
  EXPECT_TRUE(f->isVisible());
}

TEST_F(MailFormTest, TheProgramEndingAbortsASend) {
  ScriptServer server(
      {Reply("220 hi\r\n"), ReadLine(), Reply("250 hello\r\n"), ReadLine(), Hang()});
  auto f = Form();
  FillFields(*f, server.Port());
  bool ending = false;
  f->SetProgramEnding([&] { return ending; });
  QTimer::singleShot(50, [&] { ending = true; });
  BoxCatcher boxes;
  f->Button1Click();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"Socket readln aborted"});
}

TEST_F(MailFormTest, FieldsOutliveADialogEndedWithTheProgramButNotAReset) {
  Form()->Edit5->setText("ended with the program");
  EXPECT_EQ(Stored().Subject, "ended with the program");
  {
    auto f = Form();
    f->SetSettingsErased([] { return true; });
    f->Edit5->setText("after a reset");
  }
  EXPECT_EQ(Stored().Subject, "ended with the program");
}

TEST_F(MailFormTest, HugeStoredValuesAreCutToTheFieldsWhenRead) {
  {
    MailOptions huge;
    const std::string mb(1 << 20, 'x');
    huge.MailServer = huge.UserId = huge.LogonName = huge.FromMail = huge.Body = mb;
    std::string accents;
    for (int i = 0; i < 1000; ++i) accents += "\xc3\xa9";  // é
    huge.Subject = accents;
    for (int i = 0; i < 5000; ++i) huge.ToMail += "a@example.org,";
    SettingsStore store;
    huge.Save(store);
    store.Close();
  }
  auto f = Form();
  EXPECT_EQ(f->Edit1->text().size(), kMailServerLimit);
  EXPECT_EQ(f->Edit2->text().size(), kUserIdLimit);
  EXPECT_EQ(f->Edit3->text().size(), kFromNameLimit);
  EXPECT_EQ(f->Edit4->text().size(), kFromMailLimit);
  EXPECT_EQ(f->Edit5->text(), QString(kSubjectLimit, QChar(0xe9)));  // whole characters
  EXPECT_LE(f->Memo1->toPlainText().size(), kBodyLimit);
  // A paste into the body is cut to the room left.
  QString lines;
  for (int i = 0; i < 16384; ++i) lines += QString(63, 'z') + "\n";
  QApplication::clipboard()->setText(lines);
  f->Memo1->setPlainText("kept ");
  f->Memo1->moveCursor(QTextCursor::End);
  f->Memo1->paste();
  EXPECT_EQ(f->Memo1->toPlainText().size(), kBodyLimit);
  EXPECT_TRUE(f->Memo1->toPlainText().startsWith("kept zzz"));
  // The cut To list is refused, not sent to the recipients that are left.
  EXPECT_EQ(f->Edit6->text().size(), kToMailLimit + 1);
  ScriptServer server(FullConversation());
  f->show();
  f->Edit1->setText(QString("127.0.0.1:%1").arg(server.Port()));
  f->Edit4->setText("me@example.org");
  BoxCatcher boxes;
  f->Button1Click();
  EXPECT_EQ(boxes.texts,
            std::vector<std::string>{QString(tx::kToTooLong).arg(kToMailLimit).toStdString()});
  // A typed list of the same length is refused the same way.
  f->Edit6->setText(QString(kToMailLimit + 100, 'y'));
  EXPECT_EQ(f->Edit6->text().size(), kToMailLimit + 1);
  f->Button1Click();
  EXPECT_EQ(boxes.texts.size(), 2u);
  EXPECT_EQ(server.Received(), "");
}

TEST_F(MailFormTest, ABadAddressIsNamedAndNothingIsSent) {
  ScriptServer server(FullConversation());
  auto f = Form();
  f->show();
  FillFields(*f, server.Port());
  BoxCatcher boxes;
  f->Edit4->setText("me @example.org");
  f->Button1Click();
  f->Edit4->setText("me@example.org");
  f->Edit6->setText("you@example.org, CEO <ceo@bank.test> x");
  f->Button1Click();
  const std::string bad = kBadAddressText;
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{bad + "\"me @example.org\"",
                                                   bad + "\"CEO <ceo@bank.test> x\""}));
  EXPECT_EQ(server.Received(), "");
  EXPECT_TRUE(f->Button3->isEnabled());
}

class XdgEmailTest : public MailFormTest {
 protected:
  void SetUp() override {
    MailFormTest::SetUp();
    old_path_ = getenv("PATH") ? getenv("PATH") : "";
    bin_ = folder_ / "bin";
    fs::create_directories(bin_);
    setenv("PATH", bin_.c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", old_path_.c_str(), 1);
    MailFormTest::TearDown();
  }
  void FakeXdgEmail(int status) {
    const fs::path script = bin_ / "xdg-email";
    std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                                 (folder_ / "args").string() + "\"\nexit " +
                                 std::to_string(status) + "\n";
    fs::permissions(script, fs::perms::owner_all);
  }
  std::string Args() {
    std::ifstream in(folder_ / "args");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string old_path_;
  fs::path bin_;
};

TEST_F(XdgEmailTest, HandsSubjectBodyFileAndRecipientOver) {
  FakeXdgEmail(0);
  auto f = Form();
  f->Edit5->clear();  // "MAPI send" works with an empty subject
  f->Edit6->setText("you@example.org");
  BoxCatcher boxes;
  f->Button2Click();
  EXPECT_TRUE(boxes.texts.empty());
  const std::string file = (folder_ / "shots" / "Attachment.png").string();
  EXPECT_EQ(Args(),
            "--subject\n\n--body\nPicture attachment\n--attach\n" + file + "\nyou@example.org\n");
  EXPECT_TRUE(fs::exists(file));
}

TEST_F(XdgEmailTest, AFailureShowsItsNumberAndNoRecipientIsPassedWhenEmpty) {
  FakeXdgEmail(3);
  auto f = Form();
  BoxCatcher boxes;
  f->Button2Click();
  EXPECT_EQ(boxes.texts, std::vector<std::string>{" Mapi Send Mail Error # 3 "});
  EXPECT_EQ(Args().find("@"), std::string::npos);
  EXPECT_TRUE(f->Button2->isEnabled());
  EXPECT_TRUE(f->Button3->isEnabled());
}

TEST_F(XdgEmailTest, WithoutXdgEmailNothingIsShown) {
  auto f = Form();
  BoxCatcher boxes;
  f->Button2Click();
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_TRUE(f->Button2->isEnabled());
}

}  // namespace
}  // namespace vistrel

int main(int argc, char** argv) {
  // No display needed, also when the test list is read at build time.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // No keyring here unless the test runs inside a session that has one.
  if (!getenv("VISTREL_TEST_KEYRING")) setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent", 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
