#include "app/help_window.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <filesystem>

#include "app/help_document.h"
#include "box_answerer.h"

namespace vistrel {
namespace {

using testing::BoxAnswerer;

// A guide with an anchor and a page beside it, and a PATH whose only
// xdg-open is the one a test writes (or none).
class HelpWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vistrel-help-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    root_ = name;
    std::filesystem::create_directory((root_ + "/bin").toStdString());
    saved_path_ = qgetenv("PATH");
    qputenv("PATH", (root_ + "/bin").toUtf8());
    guide_ = root_ + "/Vistrel_Pro.html";
    Write(guide_,
          "<html><body><p><a href=\"second.html\">More</a></p>"
          "<p>Press Print Screen to grab the desktop.</p></body></html>");
    Write(root_ + "/second.html", "<html><body><h1 id=\"s\">Second page</h1></body></html>");
  }
  void TearDown() override {
    qputenv("PATH", saved_path_);
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<THelpWindow*>(w)) delete w;
    std::filesystem::remove_all(root_.toStdString());
  }

  static void Write(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  void FakeOpener(const QByteArray& script) {
    const QString path = root_ + "/bin/xdg-open";
    Write(path, "#!/bin/sh\n" + script + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  static THelpWindow* HelpWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* help = qobject_cast<THelpWindow*>(w); help && help->isVisible()) return help;
    return nullptr;
  }

  QString root_, guide_;
  QByteArray saved_path_;
};

TEST_F(HelpWindowTest, WithoutAnOpenerTheGuideOpensInTheHelpWindowWithLinksBackAndFind) {
  OpenHelpDocument(nullptr, guide_);
  ASSERT_TRUE(QTest::qWaitFor([] { return HelpWindow() != nullptr; }, 5000));
  THelpWindow* help = HelpWindow();
  QTextBrowser* browser = help->Browser();
  EXPECT_TRUE(browser->toPlainText().contains("Press Print Screen"));
  EXPECT_FALSE(help->BackButton()->isEnabled());

  // The link, reached by the keyboard and followed.
  help->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(help));
  browser->setFocus();
  QTest::keyClick(browser, Qt::Key_Tab);
  QTest::keyClick(browser, Qt::Key_Return);
  EXPECT_EQ(browser->source(), QUrl::fromLocalFile(root_ + "/second.html"));
  EXPECT_TRUE(browser->toPlainText().contains("Second page"));
  ASSERT_TRUE(help->BackButton()->isEnabled());
  help->BackButton()->click();
  EXPECT_EQ(browser->source(), QUrl::fromLocalFile(guide_));

  QTest::keyClick(browser, Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(help->FindField()->isVisible());
  QTest::keyClicks(help->FindField(), "grab");
  QTest::keyClick(help->FindField(), Qt::Key_Return);
  EXPECT_EQ(browser->textCursor().selectedText(), "grab");
  // Enter again wraps round to the only match.
  QTest::keyClick(help->FindField(), Qt::Key_Return);
  EXPECT_EQ(browser->textCursor().selectedText(), "grab");
  EXPECT_EQ(help->FindStatus()->text(), "");

  help->FindField()->clear();
  QTest::keyClicks(help->FindField(), "zebra");
  QTest::keyClick(help->FindField(), Qt::Key_Return);
  EXPECT_EQ(help->FindStatus()->text(), "Not found: zebra");
  EXPECT_EQ(browser->textCursor().selectedText(), "grab");

  QTest::keyClick(help->FindField(), Qt::Key_Escape);
  EXPECT_FALSE(help->FindField()->isVisible());
}

TEST_F(HelpWindowTest, AFailingOpenerFallsBackToTheHelpWindowAndAWorkingOneDoesNot) {
  FakeOpener("exit 3");
  OpenHelpDocument(nullptr, guide_);
  ASSERT_TRUE(QTest::qWaitFor([] { return HelpWindow() != nullptr; }, 5000));
  delete HelpWindow();

  // A working opener: it leaves a mark, and the program shows nothing itself.
  FakeOpener("echo \"$1\" > " + (root_ + "/opened").toUtf8());
  OpenHelpDocument(nullptr, guide_);
  ASSERT_TRUE(QTest::qWaitFor([this] { return QFile::exists(root_ + "/opened"); }, 5000));
  QTest::qWait(200);
  EXPECT_EQ(HelpWindow(), nullptr);
}

TEST_F(HelpWindowTest, AGuideGoneWhenTheHelpWindowWouldShowItIsReportedWithItsPath) {
  // The opener fails after the guide has gone from under it.
  FakeOpener("/bin/rm -f '" + guide_.toUtf8() + "'; exit 1");
  BoxAnswerer boxes;
  OpenHelpDocument(nullptr, guide_);
  ASSERT_TRUE(QTest::qWaitFor([&boxes] { return !boxes.texts.isEmpty(); }, 5000));
  EXPECT_TRUE(boxes.texts[0].contains(guide_ + "\n\ncould not be read")) << boxes.texts[0].toStdString();
  EXPECT_EQ(HelpWindow(), nullptr);
}

}  // namespace
}  // namespace vistrel
