// The load dialog: its filter list and the preview of the selected file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include "imaging/formats/picture_file.h"
#include "picture/TOpenPictureDialog.h"

namespace vistrel::testing {
namespace {

TEST(OpenPictureDialog, TitleAndFilterList) {
  TOpenPictureDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "Load Picture");
  EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
  const QStringList filters = OpenPictureFilters();
  ASSERT_EQ(filters.size(), 13);
  EXPECT_EQ(filters.at(0),
            "All graphics (*.jpg *.jpe *.jpeg *.gif *.tif *.tiff *.pcx *.png *.jpe *.bmp *.wmf "
            "*.emf *.ico *.cur *.jp2)");
  EXPECT_EQ(filters.at(3), "TIFF Bitmap (TIF;TIFF) (*.tif *.tiff)");
  EXPECT_EQ(filters.at(12), "JPEG2000 (JP2) (*.jp2)");
}

TEST(OpenPictureDialog, PreviewOfReadableAndBrokenFiles) {
  QTemporaryDir dir;
  const QString good = dir.path() + "/good.png";
  TPictureBitmap picture;
  picture.Allocate(90, 30);
  TIOParams params;
  params.Reset();
  SavePictureFile(good.toStdString(), picture, params);

  TOpenPictureDialog dialog;
  auto* preview = dialog.findChild<QLabel*>("Preview");
  auto* info = dialog.findChild<QLabel*>("PreviewInfo");
  auto* zoom = dialog.findChild<QComboBox*>("PreviewZoom");
  ASSERT_TRUE(preview && info && zoom);
  dialog.PreviewFile(good);
  EXPECT_TRUE(info->text().startsWith("90 x 30 pixels")) << info->text().toStdString();
  EXPECT_EQ(preview->pixmap().width(), 180);  // "Fit"
  zoom->setCurrentText("200%");
  EXPECT_EQ(preview->pixmap().size(), QSize(180, 60));

  const QString broken = dir.path() + "/broken.png";
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a picture at all");
  file.close();
  dialog.PreviewFile(broken);
  EXPECT_TRUE(preview->pixmap().isNull());
  EXPECT_FALSE(info->text().isEmpty());

  dialog.PreviewFile(dir.path());  // a folder: nothing shown
  EXPECT_TRUE(preview->pixmap().isNull());
  EXPECT_TRUE(info->text().isEmpty());
}

}  // namespace
}  // namespace vistrel::testing
