// The save dialog on its own: its type list, the extension that follows the
// chosen type, the preview and the refusal of missing folders.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QListView>
#include <QTest>
#include <QTreeView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "dialog_driver.h"

namespace vistrel::testing {
namespace {

QString NameBoxText(const TSavePictureDialog& dialog) {
  return dialog.findChild<QLineEdit*>("fileNameEdit")->text();
}

TEST(SavePictureDialog, TitleAndTheTenTypesInOrder) {
  TSavePictureDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "Save Picture as ...");
  const QStringList filters = dialog.nameFilters();
  ASSERT_EQ(filters.size(), 10);
  EXPECT_EQ(filters.at(0), "JPEG Bitmap (JPG) (*.jpg)");
  EXPECT_EQ(filters.at(9), "Icon resource (ICO) (*.ico)");
  auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(types, nullptr);
  ASSERT_EQ(types->count(), 10);
  EXPECT_EQ(types->itemText(1), "CompuServe Bitmap (GIF)  non LZW");
  EXPECT_EQ(types->itemText(6), "OS/2 Bitmap (BMP)");
  // The two BMP entries share a pattern but stay apart.
  dialog.SetFilterIndex(7);
  EXPECT_EQ(dialog.FilterIndex(), 7);
  dialog.SetFilterIndex(6);
  EXPECT_EQ(dialog.FilterIndex(), 6);
  dialog.SetFilterIndex(0);
  EXPECT_EQ(dialog.FilterIndex(), 6);
}

TEST(SavePictureDialog, ChangingTheTypeRewritesTheExtension) {
  TSavePictureDialog dialog;
  dialog.SetFilterIndex(5);
  dialog.SetFileName("Picture0001.png");
  auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(types, nullptr);
  types->setCurrentIndex(0);  // as the user picks "JPEG Bitmap (JPG)"
  EXPECT_EQ(dialog.FilterIndex(), 1);
  EXPECT_EQ(NameBoxText(dialog), "Picture0001.jpg");
  types->setCurrentIndex(8);
  EXPECT_EQ(NameBoxText(dialog), "Picture0001.pdf");
  // A name typed without extension receives the chosen type's one.
  dialog.findChild<QLineEdit*>("fileNameEdit")->setText("shot");
  EXPECT_TRUE(dialog.FileName().endsWith("/shot.pdf")) << dialog.FileName().toStdString();
}

TEST(SavePictureDialog, PreviewShowsThePictureAndItsSize) {
  TSavePictureDialog dialog;
  TPictureBitmap picture;
  picture.Allocate(400, 100);
  dialog.SetPreview(picture);
  auto* preview = dialog.findChild<QLabel*>("Preview");
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->pixmap().width(), 180);
  EXPECT_EQ(preview->pixmap().height(), 45);
  EXPECT_TRUE(dialog.findChild<QLabel*>("PreviewInfo")->text().startsWith("400 x 100 pixels"));
  dialog.SetPreview(TPictureBitmap());
  EXPECT_TRUE(preview->pixmap().isNull());
}

// Names the dialog's file list shows in its folder, sorted; waits (with a
// deadline) until they are `expected`, as the folder is read in the
// background.
QStringList ListedNames(const TSavePictureDialog& dialog, const QStringList& expected) {
  auto* list = dialog.findChild<QListView*>("listView");
  QStringList names;
  QTest::qWaitFor([&] {
    names.clear();
    const QModelIndex root = list->rootIndex();
    for (int row = 0; row < list->model()->rowCount(root); ++row)
      names << list->model()->index(row, 0, root).data().toString();
    names.sort();
    return names == expected;
  }, 10000);
  return names;
}

TEST(SavePictureDialog, ListsTheChosenTypesFilesBesideTheFolders) {
  QTemporaryDir dir;
  for (const char* name : {"shot.png", "photo.jpg", "notes.txt"}) {
    QFile file(dir.path() + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  ASSERT_TRUE(QDir(dir.path()).mkdir("older"));
  TSavePictureDialog dialog;
  dialog.setDirectory(dir.path());
  dialog.SetFilterIndex(5);
  dialog.SetFileName("Picture0001.png");
  dialog.show();
  const QStringList png{"older", "shot.png"}, jpeg{"older", "photo.jpg"};
  EXPECT_EQ(ListedNames(dialog, png), png);
  dialog.SetFilterIndex(1);
  EXPECT_EQ(ListedNames(dialog, jpeg), jpeg);
  dialog.findChild<QComboBox*>("fileTypeCombo")->setCurrentIndex(4);  // as the user picks PNG
  EXPECT_EQ(ListedNames(dialog, png), png);
}

TEST(SavePictureDialog, DetailColumnsAndThePreviewLinesShowWhole) {
  QTemporaryDir dir;
  QFile(dir.path() + "/Picture0001.png").open(QIODevice::WriteOnly);
  TSavePictureDialog dialog;
  dialog.setDirectory(dir.path());
  dialog.setViewMode(QFileDialog::Detail);
  TPictureBitmap picture;
  picture.Allocate(1920, 1080);
  dialog.SetPreview(picture);
  dialog.show();
  ListedNames(dialog, {"Picture0001.png"});
  QApplication::processEvents();
  auto* tree = dialog.findChild<QTreeView*>("treeView");
  ASSERT_NE(tree, nullptr);
  const QHeaderView* header = tree->header();
  int used = 0;
  for (int column = 0; column < 4; ++column) {
    EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << column;
    used += header->sectionSize(column);
  }
  EXPECT_LE(used, tree->viewport()->width());  // Size, Type and Date in view
  const QLabel* info = dialog.findChild<QLabel*>("PreviewInfo");
  const QStringList lines = info->text().split('\n');
  EXPECT_EQ(lines.first(), "1920 x 1080 pixels");
  for (const QString& line : lines)
    EXPECT_LE(info->fontMetrics().horizontalAdvance(line), info->contentsRect().width()) << line.toStdString();
}

TEST(SavePictureDialog, RefusesAFolderThatDoesNotExist) {
  QTemporaryDir dir;
  TSavePictureDialog dialog;
  dialog.SetFileName(dir.path() + "/missing/shot.png");
  QString warning;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      warning = box->text();
      box->accept();
    }
  });
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(warning.contains("/missing")) << warning.toStdString();

  dialog.SetFileName(dir.path() + "/shot.png");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.FileName(), dir.path() + "/shot.png");
}

}  // namespace
}  // namespace vistrel::testing
