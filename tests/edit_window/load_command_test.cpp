// "Load Picture" and the load history: loading under the paint lock with
// the recipe applied, the history kept across windows, and the faults that
// must lose nothing.
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include "edit_form_fixture.h"
#include "imaging/formats/picture_file.h"

namespace vistrel::testing {
namespace {

class LoadTest : public EditFormTest {
 protected:
  void SetUp() override {
    EditFormTest::SetUp();
    ASSERT_TRUE(files_.isValid());
  }
  // A w x h picture of one colour as a PNG file.
  std::string MakeFile(const std::string& name, int w, int h, TColor c) {
    const std::string path = files_.path().toStdString() + "/" + name;
    TPictureBitmap p(w, h);
    p.Fill(c);
    SavePictureFile(path, p, TIOParams{});
    return path;
  }
  QStringList HistoryTexts() {
    QStringList out;
    for (QAction* a : Window().PopupMenu2()->actions())
      if (a->isVisible()) out << (a->isSeparator() ? "-" : a->text());
    return out;
  }
  QTemporaryDir files_;
};

TEST_F(LoadTest, LoadReplacesThePictureAppliesTheRecipeAndRecordsTheFile) {
  TPictureRecipe stored;
  stored.RFrameSize = 1;
  StoreRecipe(stored);
  form_ = std::make_unique<TEditForm1>();
  form_->LendServices(context_);
  const std::string path = MakeFile("a & b.png", 30, 20, MakeColor(10, 20, 30));
  EXPECT_TRUE(Window().ToolButton(TMainForm1::tbLoad)->isEnabled());
  EXPECT_TRUE(HistoryTexts().isEmpty());

  Window().LoadPictureFromDialog(path);
  EXPECT_EQ(Picture().Width(), 32);
  EXPECT_EQ(Picture().Pixel(5, 5), MakeColor(10, 20, 30));
  EXPECT_FALSE(Window().PictureView1->PaintLocked());
  EXPECT_EQ(Window().Document().Undo().Caption(0), "");
  EXPECT_EQ(Window().Document().Undo().NewestCaption(), "ImageResize 32,22");
  EXPECT_EQ(Window().Options().LoadFolder, files_.path().toStdString() + "/");
  // Shown exactly as stored: "&" is no accelerator.
  EXPECT_EQ(HistoryTexts(), (QStringList{QString::fromStdString(path).replace("&", "&&"), "-",
                                         "Clear History List"}));
  EXPECT_TRUE(Window().PopupMenu2()->actions().front()->isChecked());
}

TEST_F(LoadTest, UnreadableFileIsReportedAndLosesNothing) {
  Window().LoadPictureFromDialog(MakeFile("good.png", 8, 8, kWhite));
  const std::string folder = Window().Options().LoadFolder;
  const TPictureBitmap before = Picture();
  const int depth = Window().Document().Undo().UndoDepth();
  for (const std::string bad : {files_.path().toStdString() + "/missing.png",
                                files_.path().toStdString() + "/broken.png"}) {
    if (bad.ends_with("broken.png")) {
      QFile f(QString::fromStdString(bad));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write("\x89PNG\r\n\x1a\nthis is not a picture");
    }
    try {
      Window().LoadPictureFromDialog(bad);
      ADD_FAILURE() << "no error for " << bad;
    } catch (const PictureFileError& e) {
      EXPECT_NE(std::string(e.what()).find(bad), std::string::npos) << e.what();
    }
    EXPECT_EQ(Picture(), before);
    EXPECT_EQ(Window().Document().Undo().UndoDepth(), depth);
    EXPECT_FALSE(Window().PictureView1->PaintLocked());
    EXPECT_EQ(Window().LoadHistory().Used(), 1);
    EXPECT_EQ(Window().Options().LoadFolder, folder);
  }
}

TEST_F(LoadTest, PaintLockedViewIgnoresTheFile) {
  Window().PictureView1->BeginPaintLock();
  Window().LoadPictureFromDialog(MakeFile("a.png", 8, 8, kWhite));
  Window().PictureView1->EndPaintLock();
  EXPECT_EQ(Picture().Width(), 1024);
  EXPECT_TRUE(Window().LoadHistory().Empty());
}

TEST_F(LoadTest, ElevenLoadsKeepTenAcrossARestartAndTheNextReplacesTheOldest) {
  std::vector<std::string> paths;
  for (int n = 1; n <= 11; ++n)
    paths.push_back(MakeFile("p" + std::to_string(n) + ".png", 4 + n, 4, kBlack));
  for (const std::string& p : paths) Window().LoadPictureFromDialog(p);
  EXPECT_EQ(Window().LoadHistory().Slot(0), paths[10]);
  EXPECT_EQ(HistoryTexts().size(), 12);
  window_.reset();
  EXPECT_EQ(StoredInteger("Load_History_Count"), 10);

  EXPECT_EQ(HistoryTexts().front(), QString::fromStdString(paths[1]));  // oldest first
  EXPECT_EQ(HistoryTexts()[9], QString::fromStdString(paths[10]));
  Window().LoadPictureFromDialog(paths[0]);
  EXPECT_EQ(HistoryTexts().front(), QString::fromStdString(paths[0]));
  EXPECT_EQ(HistoryTexts()[1], QString::fromStdString(paths[2]));

  // An entry loads its file; check marks stay.
  Window().N8Click(3);  // p5.png
  EXPECT_EQ(Picture().Width(), 4 + 5);
  EXPECT_TRUE(Window().PopupMenu2()->actions()[0]->isChecked());
  EXPECT_FALSE(Window().PopupMenu2()->actions()[3]->isChecked());
}

TEST_F(LoadTest, DeletedEntryShowsPictureNotFoundAndChangesNothing) {
  const std::string path = MakeFile("gone.png", 9, 9, kBlack);
  Window().LoadPictureFromDialog(MakeFile("stays.png", 7, 7, kWhite));
  Window().LoadPictureFromDialog(path);
  Window().N8Click(0);
  QFile::remove(QString::fromStdString(path));
  const TPictureBitmap before = Picture();
  const int depth = Window().Document().Undo().UndoDepth();
  {
    BoxCatcher box;
    Window().N8Click(1);
    EXPECT_TRUE(box.seen);
    EXPECT_EQ(box.text, "Picture not found ! ");
    EXPECT_EQ(box.title, "Vistrel-Pro");
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
  }
  EXPECT_EQ(Picture(), before);
  EXPECT_EQ(Window().Document().Undo().UndoDepth(), depth);
  EXPECT_EQ(Window().LoadHistory().Used(), 2);
}

TEST_F(LoadTest, ClearHidesEveryEntryAndTheNextWindowStartsEmpty) {
  Window().LoadPictureFromDialog(MakeFile("a.png", 8, 8, kWhite));
  Window().ClearList1Click();
  EXPECT_TRUE(HistoryTexts().isEmpty());
  window_.reset();
  EXPECT_EQ(StoredInteger("Load_History_Count"), 0);
  EXPECT_TRUE(HistoryTexts().isEmpty());
}

TEST_F(LoadTest, DamagedStoredCountIsClamped) {
  Store("Load_History_Count", -3);
  EXPECT_TRUE(HistoryTexts().isEmpty());
  window_.reset();
  Store("Load_History_Count", 50);
  {
    SettingsStore store;
    for (int i = 0; i < 12; ++i)
      store.WriteString(kOtherOptionsSection, "History_Line" + std::to_string(i), "/x" + std::to_string(i));
  }
  EXPECT_EQ(Window().LoadHistory().Used(), 10);
  EXPECT_EQ(HistoryTexts().size(), 12);
}

}  // namespace
}  // namespace vistrel::testing
