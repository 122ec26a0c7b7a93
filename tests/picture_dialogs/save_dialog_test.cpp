// The save dialog on its own: its type list, the extension that follows the
// chosen type, the preview and the refusal of missing folders.
#include <QComboBox>
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
