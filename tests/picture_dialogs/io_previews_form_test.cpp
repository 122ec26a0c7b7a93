// "Parameters preview" and the save dialog's advanced-options button: the
// page follows the typed name, OK writes the options, a cancelled save
// dialog puts the old parameter set back, and the preview shows what the
// writer makes of the picture with the options as they stand.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QSpinBox>
#include <set>

#include "dialog_driver.h"
#include "imaging/formats/color_layout.h"
#include "picture/TIOPreviewsForm.h"
#include "picture/TPictureView.h"

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

// Noise compresses badly, so quality and colour choices show in the sizes.
TPictureBitmap NoisyPicture(int width, int height) {
  TPictureBitmap picture(width, height);
  std::uint32_t seed = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      seed = seed * 1664525u + 1013904223u;
      picture.SetPixel(x, y, seed >> 8 & 0xFFFFFF);
    }
  return picture;
}

long long Bytes(const TIOPreviewsForm& form, const char* label) {
  QString text = form.findChild<QLabel*>(label)->text();
  text.remove(QRegularExpression("[^0-9]"));
  return text.isEmpty() ? -1 : text.toLongLong();
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
    TIOPreviewsForm dialog("BMP", params, TPictureBitmap());
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

  TIOPreviewsForm jpeg("JPEG", params, TPictureBitmap());
  jpeg.findChild<QSpinBox*>("Quality")->setValue(35);
  jpeg.accept();
  EXPECT_EQ(params.jpeg_quality, 35);
}

TEST(SaveOptions, ColourDepthPickedInTheDialogIsTheUsersEvenWhereTheFileHadIt) {
  TIOParams params;
  params.Reset();
  params.bits_per_sample = 1;
  params.samples_per_pixel = 1;
  NoteFileColors(params, TFileType::Bmp);
  ASSERT_TRUE(DepthFromFile(params));
  {
    // OK without touching the colours keeps them the file's.
    TIOPreviewsForm dialog("BMP", params, TPictureBitmap());
    dialog.accept();
  }
  EXPECT_TRUE(DepthFromFile(params));
  TIOPreviewsForm dialog("BMP", params, TPictureBitmap());
  QComboBox* colors = dialog.findChild<QComboBox*>("Colors");
  ASSERT_EQ(colors->currentText(), "B/W");
  emit colors->activated(colors->currentIndex());  // the user picks B/W again
  dialog.accept();
  EXPECT_FALSE(DepthFromFile(params));
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

  WhenModalOpens<TIOPreviewsForm>([](TIOPreviewsForm& options) {
    options.findChild<QSpinBox*>("Quality")->setValue(12);
    options.accept();
  });
  button->click();
  EXPECT_EQ(params.jpeg_quality, 12);
  dialog.reject();
  EXPECT_EQ(params.jpeg_quality, 80);
}

TEST(SaveOptions, PreviewShowsTheWritersResultAndFollowsTheControlsWhenLocked) {
  TIOParams params;
  params.Reset();
  const TPictureBitmap source = NoisyPicture(64, 48);
  TIOPreviewsForm form("JPEG", params, source);
  EXPECT_EQ(Bytes(form, "OriginalSize"), 64 * 48 * 3);
  EXPECT_EQ(Bytes(form, "CompressedSize"), -1);

  form.findChild<QSpinBox*>("Quality")->setValue(95);
  form.findChild<QPushButton*>("PreviewButton")->click();
  const long long fine = Bytes(form, "CompressedSize");
  const TPictureBitmap& result = form.findChild<TPictureView*>("ResultView")->Picture();
  EXPECT_EQ(result.Width(), 64);
  EXPECT_EQ(result.Height(), 48);
  EXPECT_EQ(form.findChild<QProgressBar*>("Progress")->value(), 100);

  // Unlocked, a change waits for the button; locked, it shows at once.
  form.findChild<QSpinBox*>("Quality")->setValue(5);
  EXPECT_EQ(Bytes(form, "CompressedSize"), fine);
  form.findChild<QCheckBox*>("LockPreview")->setChecked(true);
  EXPECT_LT(Bytes(form, "CompressedSize"), fine / 2);
  // Previews never touch the caller's set; only OK does.
  EXPECT_EQ(params.jpeg_quality, 80);
}

TEST(SaveOptions, PreviewOfColourChoicesAndOfNothing) {
  TIOParams params;
  params.Reset();
  TIOPreviewsForm gif("GIF", params, NoisyPicture(40, 30));
  gif.findChild<QComboBox*>("Colors")->setCurrentText("4");
  gif.findChild<QPushButton*>("PreviewButton")->click();
  const TPictureBitmap& result = gif.findChild<TPictureView*>("ResultView")->Picture();
  ASSERT_EQ(result.Width(), 40);
  std::set<TColor> colours;
  for (int y = 0; y < result.Height(); ++y)
    for (int x = 0; x < result.Width(); ++x) colours.insert(result.Pixel(x, y));
  EXPECT_LE(colours.size(), 4u);
  EXPECT_TRUE(gif.findChild<QLabel*>("PreviewError")->text().isEmpty());

  TIOPreviewsForm empty("PNG", params, TPictureBitmap());
  EXPECT_FALSE(empty.findChild<QPushButton*>("PreviewButton")->isEnabled());
  EXPECT_FALSE(empty.findChild<QCheckBox*>("LockPreview")->isEnabled());
}

}  // namespace
}  // namespace vistrel::testing
