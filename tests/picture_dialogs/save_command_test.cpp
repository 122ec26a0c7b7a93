// The "Save Picture" command of the picture window: its proposal, the write,
// the folder and type it remembers, and the paint lock around the write.
#include <QDir>
#include <QApplication>
#include <algorithm>
#include <vector>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>

#include "dialog_driver.h"
#include "picture/MainFormStatusBar.h"
#include "imaging/formats/picture_file.h"
#include "window_fixture.h"

namespace vistrel::testing {
namespace {

class SaveCommandTest : public PictureWindowTest {
 protected:
  std::string Folder(const QTemporaryDir& dir) const { return dir.path().toStdString() + "/"; }

  // Runs the command; the dialog's proposed name is recorded, then `choose`
  // either picks a path (accepted) or nothing (cancelled).
  QString RunSave(TMainForm1& window, const QString& path, int entry = 0) {
    QString proposed;
    WhenSaveDialogOpens([&](TSavePictureDialog& dialog) {
      proposed = dialog.findChild<QLineEdit*>("fileNameEdit")->text();
      if (entry) dialog.SetFilterIndex(entry);
      if (path.isEmpty()) {
        dialog.reject();
      } else {
        dialog.SetFileName(path);
        dialog.accept();
      }
    });
    window.Action101Click();
    return proposed;
  }

  QTemporaryDir first_, second_;
};

TEST_F(SaveCommandTest, EntryComesFromAutoExtentionAndKeepsIt) {
  tray_.AutoExtention = "pdf";
  auto window = NewWindow();
  EXPECT_EQ(window->SavePictureEntry(), 9);
  window->Options().SaveFolder = Folder(first_);
  EXPECT_EQ(RunSave(*window, {}), "Picture0001.pdf");
  EXPECT_EQ(tray_.AutoExtention, "pdf");
  EXPECT_EQ(window->Options().SaveFolder, Folder(first_));  // cancelled: unchanged
}

TEST_F(SaveCommandTest, WritesTheFileAndRemembersFolderAndType) {
  tray_.AutoExtention = "png";
  QFile(first_.path() + "/Picture0001.png").open(QIODevice::WriteOnly);
  auto window = NewWindow();
  window->Options().SaveFolder = Folder(first_);

  // The save dialog's type is JPEG, the proposal still follows "png".
  const QString target = second_.path() + "/shot.jpg";
  EXPECT_EQ(RunSave(*window, target, 1), "Picture0002.png");
  ASSERT_TRUE(QFileInfo::exists(target));
  TPictureBitmap written;
  TIOParams params;
  LoadPictureFile(target.toStdString(), written, params);
  EXPECT_EQ(written.Width(), window->PictureView1->Picture().Width());
  EXPECT_EQ(window->Options().SaveFolder, Folder(second_));
  EXPECT_FALSE(window->PictureView1->PaintLocked());

  // The next command proposes a JPEG name in the new folder, and automatic
  // saves follow.
  EXPECT_EQ(RunSave(*window, {}), "Picture0001.jpg");
  EXPECT_EQ(tray_.AutoExtention, "jpg");
}

TEST_F(SaveCommandTest, NumberingOffProposesThePlainName) {
  tray_.AutoNumbering = false;
  tray_.AutoFileName = "Shot";
  auto window = NewWindow();
  window->Options().SaveFolder = first_.path().toStdString();  // no trailing separator
  EXPECT_EQ(RunSave(*window, {}), "Shot.png");
}

TEST_F(SaveCommandTest, FailedWriteReleasesThePaintLock) {
  auto window = NewWindow();
  window->Options().SaveFolder = Folder(first_);
  const QString bad = second_.path() + "/shot.xyz";
  EXPECT_THROW(RunSave(*window, bad), PictureFileError);
  EXPECT_FALSE(window->PictureView1->PaintLocked());
  EXPECT_EQ(window->Options().SaveFolder, Folder(first_));

  // The window saves again afterwards.
  const QString good = second_.path() + "/shot.png";
  RunSave(*window, good);
  EXPECT_TRUE(QFileInfo::exists(good));
}

// Notes what the first status panel shows each time it is drawn.
class ProgressWatch : public QObject {
 public:
  explicit ProgressWatch(TStatusPanel* panel) : panel_(panel) { panel->installEventFilter(this); }
  std::vector<int> drawn;  // the bar's length, -1 for text
  bool busy_cursor = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      drawn.push_back(panel_->Progress());
      if (panel_->Progress() >= 0 && QApplication::overrideCursor())
        busy_cursor = QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }
    return false;
  }

 private:
  TStatusPanel* panel_;
};

TEST_F(SaveCommandTest, SavingShowsItsProgressUntilTheWriteEnds) {
  for (const char* name : {"/shot.png", "/shot.xyz"}) {  // written, refused
    auto window = NewWindow();
    window->show();
    QApplication::processEvents();
    ProgressWatch watch(window->StatusBar1()->Panel(0));
    try {
      RunSave(*window, second_.path() + name);
    } catch (const PictureFileError&) {
    }
    EXPECT_NE(std::find(watch.drawn.begin(), watch.drawn.end(), 0), watch.drawn.end()) << name;
    EXPECT_TRUE(watch.busy_cursor) << name;
    // Over afterwards, also after a refusal.
    EXPECT_EQ(window->StatusBar1()->Panel(0)->Progress(), -1) << name;
    EXPECT_EQ(window->StatusText(0), " ") << name;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << name;
    EXPECT_FALSE(context_.picture.PictureBusy) << name;
  }
}

TEST_F(SaveCommandTest, NothingIsWrittenWhileTheViewIsPaintLocked) {
  auto window = NewWindow();
  window->PictureView1->BeginPaintLock();
  const QString target = second_.path() + "/shot.png";
  RunSave(*window, target);
  EXPECT_FALSE(QFileInfo::exists(target));
  window->PictureView1->EndPaintLock();
}

TEST_F(SaveCommandTest, SaveButtonAndMenuItemAreEnabled) {
  auto window = NewWindow();
  EXPECT_TRUE(window->ToolButton(TMainForm1::tbSave)->isEnabled());
  QAction* item = FindItem(window->findChild<QMenu*>("FileMenu"), "Save Picture");
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->isEnabled());
  EXPECT_EQ(item->shortcut(), QKeySequence("Ctrl+S"));
}

}  // namespace
}  // namespace vistrel::testing
