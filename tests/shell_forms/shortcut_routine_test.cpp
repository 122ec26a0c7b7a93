#include "app/shortcut_routine.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "commands/message_boxes.h"
#include "app/help_document.h"
#include "box_answerer.h"

namespace vistrel {
namespace {

using testing::BoxAnswerer;

// The start menu folder of a temporary XDG data folder.
class ShortcutRoutineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vistrel-routine-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    root_ = name;
    saved_ = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (root_ + "/data").toUtf8());
    entry_ = root_ + "/data/applications/Vistrel-Pro.desktop";
  }
  void TearDown() override {
    qputenv("XDG_DATA_HOME", saved_);
    std::filesystem::remove_all(root_.toStdString());
  }

  QString Entry() {
    QFile file(entry_);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }

  QString root_;
  QString entry_;
  QByteArray saved_;
};

TEST_F(ShortcutRoutineTest, CreatedSilentlyThenAskedAboutWithItsPath) {
  {
    BoxAnswerer boxes;
    CreateOrRemoveShortcut(nullptr, TShortcutFolder::StartMenu);
    EXPECT_TRUE(boxes.texts.isEmpty());
  }
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
  EXPECT_TRUE(Entry().contains("\nExec=\"" + program + "\"\n")) << Entry().toStdString();

  QFile::resize(entry_, 3);  // spoilt, to see "No" write it again
  {
    BoxAnswerer boxes(QMessageBox::Cancel);
    CreateOrRemoveShortcut(nullptr, TShortcutFolder::StartMenu);
    EXPECT_EQ(boxes.texts, QStringList{BoxText(ShortcutQuestion(entry_))});
    EXPECT_EQ(Entry(), "[De");  // untouched
  }
  EXPECT_EQ(BoxText(ShortcutQuestion(entry_)),
            "The Shortcut \n\n" + entry_ +
                "  \n\nis allready created !\ndo you want to remove the Shortcut ?");
  {
    BoxAnswerer boxes(QMessageBox::No);
    CreateOrRemoveShortcut(nullptr, TShortcutFolder::StartMenu);
    EXPECT_TRUE(Entry().startsWith("[Desktop Entry]\n"));
  }
  {
    BoxAnswerer boxes(QMessageBox::Yes);
    CreateOrRemoveShortcut(nullptr, TShortcutFolder::StartMenu);
    EXPECT_EQ(boxes.texts.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(entry_));
  }
}

TEST_F(ShortcutRoutineTest, AFolderThatCannotBeMadeIsReportedWithThePath) {
  QFile(root_ + "/data").open(QIODevice::WriteOnly);  // a file where the folder goes
  BoxAnswerer boxes;
  CreateOrRemoveShortcut(nullptr, TShortcutFolder::StartMenu);
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_TRUE(boxes.texts[0].contains(entry_ + "\n\ncould not be created:"))
      << boxes.texts[0].toStdString();
}

TEST_F(ShortcutRoutineTest, NoFolderFoundIsReportedAndNothingIsWrittenHere) {
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", "");
  qputenv("XDG_DATA_HOME", "relative");
  const auto before = QDir::current().entryList(QDir::AllEntries | QDir::Hidden);
  BoxAnswerer boxes;
  CreateOrRemoveShortcut(nullptr, TShortcutFolder::StartMenu);
  qputenv("HOME", home);
  EXPECT_EQ(boxes.texts,
            QStringList{"The Start Menu folder could not be found.\nNo Shortcut was created."});
  EXPECT_EQ(QDir::current().entryList(QDir::AllEntries | QDir::Hidden), before);
}

TEST(HelpDocument, AMissingDocumentIsReportedWithItsPath) {
  ASSERT_FALSE(QFileInfo::exists(HelpDocumentPath()));  // test programs have none beside them
  // Found nowhere: the installed place is the one named.
  EXPECT_EQ(HelpDocumentPath(), QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                "/../share/doc/vistrel-pro/Vistrel_Pro.html"));
  BoxAnswerer boxes;
  OpenHelpDocument(nullptr);
  ASSERT_EQ(boxes.texts.size(), 1);
  EXPECT_TRUE(boxes.texts[0].contains(HelpDocumentPath())) << boxes.texts[0].toStdString();
}

}  // namespace
}  // namespace vistrel
