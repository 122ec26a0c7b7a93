// "Parameters preview" and the save dialog's advanced-options button: the
// page follows the typed name, OK writes the options, a cancelled save
// dialog puts the old parameter set back.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "dialog_driver.h"
#include "picture/TSaveOptionsDialog.h"

namespace vistrel::testing {
namespace {

template <typename Dialog>
void WhenModalOpens(std::function<void(Dialog&)> step) {
  QTimer::singleShot(0, [step] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    step(*dialog);
  });
}

TEST(SaveOptions, PagesAndColorChoices) {
  EXPECT_EQ(SaveOptionsPage("jpg"), "JPEG");
  EXPECT_EQ(SaveOptionsPage("tif"), "TIFF");
  EXPECT_EQ(SaveOptionsPage("jp2"), "JPEG2000");
  EXPECT_EQ(SaveOptionsPage("pdf"), "");
  EXPECT_EQ(SaveOptionsPage("ico"), "");
  EXPECT_EQ(ColorChoiceSamples("256"), std::make_pair(8, 1));
  EXPECT_EQ(ColorChoiceSamples("16M"), std::make_pair(8, 3));
  EXPECT_EQ(ColorChoiceSamples("B/W"), std::make_pair(1, 1));
  EXPECT_EQ(ColorChoiceSamples("7"), std::make_pair(0, 0));
}

TEST(SaveOptions, OkWritesTheControlsAndCancelKeepsTheSet) {
  TIOParams params;
  params.Reset();
  {
    TSaveOptionsDialog dialog("BMP", params);
    EXPECT_EQ(dialog.windowTitle(), "Parameters preview");
    EXPECT_EQ(dialog.findChild<QComboBox*>("Colors")->currentText(), "16M");
    dialog.findChild<QComboBox*>("Colors")->setCurrentText("256");
    dialog.findChild<QComboBox*>("Compression")->setCurrentText("RLE");
    dialog.reject();
    EXPECT_EQ(params.bits_per_sample, 8);
    EXPECT_EQ(params.samples_per_pixel, 3);
    EXPECT_FALSE(params.bmp_rle);
    dialog.accept();
  }
  EXPECT_EQ(params.samples_per_pixel, 1);
  EXPECT_TRUE(params.bmp_rle);

  TSaveOptionsDialog jpeg("JPEG", params);
  jpeg.findChild<QSpinBox*>("Quality")->setValue(35);
  jpeg.accept();
  EXPECT_EQ(params.jpeg_quality, 35);
}

TEST(SaveOptions, AdvancedButtonFollowsTheNameAndCancelRestoresTheSet) {
  TIOParams params;
  params.Reset();
  TSavePictureDialog dialog;
  dialog.SetParameters(params);
  auto* button = dialog.findChild<QPushButton*>("AdvancedButton");
  auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
  name->setText("shot.pdf");
  EXPECT_FALSE(button->isEnabled());
  name->setText("shot.jpg");
  EXPECT_TRUE(button->isEnabled());
  EXPECT_EQ(dialog.OptionsPage(), "JPEG");

  WhenModalOpens<TSaveOptionsDialog>([](TSaveOptionsDialog& options) {
    options.findChild<QSpinBox*>("Quality")->setValue(12);
    options.accept();
  });
  button->click();
  EXPECT_EQ(params.jpeg_quality, 12);
  dialog.reject();
  EXPECT_EQ(params.jpeg_quality, 80);
}

}  // namespace
}  // namespace vistrel::testing
