#include "picture/TOpenPictureDialog.h"

#include <QFileInfo>
#include <QVBoxLayout>
#include <exception>

#include "imaging/formats/picture_file.h"
#include "picture/PicturePreviewPanel.h"

namespace vistrel {
namespace {

struct TOpenTypeEntry {
  const char* text;
  const char* patterns;  // separated by ";"
};

constexpr TOpenTypeEntry kOpenTypeEntries[] = {
    {"All graphics",
     "*.jpg;*.jpe;*.jpeg;*.gif;*.tif;*.tiff;*.pcx;*.png;*.jpe;*.bmp;*.wmf;*.emf;*.ico;*.cur;*.jp2"},
    {"JPEG Bitmap (JPG;JPEG)", "*.jpg;*.jpeg;*jpe"},
    {"CompuServe Bitmap (GIF)", "*.gif"},
    {"TIFF Bitmap (TIF;TIFF)", "*.tif;*.tiff"},
    {"PaintBrush (PCX)", "*.pcx"},
    {"Portable Network Graphics (PNG)", "*.png"},
    {"Windows Bitmap (BMP)", "*.bmp"},
    {"OS/2 Bitmap (BMP)", "*.bmp"},
    {"Enhanced Windows Metafile (EMF)", "*.emf"},
    {"Windows Metafile (WMF)", "*.wmf"},
    {"Icon resource (ICO)", "*.ico"},
    {"Cursor Resource (CUR)", "*.cur"},
    {"JPEG2000 (JP2)", "*.jp2"},
};

QString FileSizeText(qint64 bytes) {
  if (bytes < 1024) return QString("%1 bytes").arg(bytes);
  return QString("%1 KB").arg((bytes + 512) / 1024);
}

}  // namespace

QStringList OpenPictureFilters() {
  QStringList filters;
  for (const TOpenTypeEntry& entry : kOpenTypeEntries)
    filters << QString("%1 (%2)").arg(entry.text, QString(entry.patterns).replace(';', ' '));
  return filters;
}

TOpenPictureDialog::TOpenPictureDialog(QWidget* parent) : QFileDialog(parent) {
  setObjectName("OpenPictureDialog1");
  panel_ = PicturePreviewPanel::AttachTo(*this);
  setAcceptMode(QFileDialog::AcceptOpen);
  setFileMode(QFileDialog::ExistingFile);
  setWindowTitle("Load Picture");
  setNameFilters(OpenPictureFilters());
  setSizeGripEnabled(true);
  panel_->Column()->addStretch();

  connect(this, &QFileDialog::currentChanged, this, &TOpenPictureDialog::PreviewFile);
}

void TOpenPictureDialog::PreviewFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.isFile() || !CanLoadPictureFile(path.toStdString())) return panel_->ShowMessage({});
  try {
    TPictureBitmap picture;
    TIOParams params;
    LoadPictureFile(path.toStdString(), picture, params);
    panel_->ShowPicture(std::move(picture), FileSizeText(info.size()));
  } catch (const std::exception& e) {
    panel_->ShowMessage(QString::fromUtf8(e.what()));
  }
}

}  // namespace vistrel
