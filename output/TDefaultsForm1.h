// "Save and Picture Type Defaults": name, folder, numbering and type of
// automatic saves and the GIF, JPEG and PNG writer choices.
#pragma once

#include <QDialog>
#include <array>

#include "settings/other_options.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vistrel {

class TDefaultsForm1 : public QDialog {
  Q_OBJECT
 public:
  // The type buttons in their order, and the extension each stands for.
  static constexpr std::array<const char*, 9> kTypeCaptions = {"GIF", "JPG", "JPG2K", "PCX", "PNG",
                                                               "TIF", "BMP", "PDF", "ICO"};
  static constexpr std::array<const char*, 9> kTypeExtensions = {"gif", "jpg", "jp2", "pcx", "png",
                                                                  "tif", "bmp", "pdf", "ico"};
  static constexpr int kMaxBaseName = 126;

  // Edits `tray` (name, folder, numbering, type) and `picture` (the writer
  // choices): "&Close" (also Enter and Escape) stores them; the close box
  // stores nothing, except a folder chosen with "Change", which is taken at
  // once.
  TDefaultsForm1(TrayOptions& tray, PictureWindowOptions& picture, QWidget* parent = nullptr);

  void Button1Click();  // "Default"
  void Button2Click();  // "&Close"
  void ChangeFolder(const QString& chosen);  // "Change" with the folder picked

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* ColorBox(std::int32_t color);
  static std::int32_t ColorOf(const QPushButton* box);
  void SetColor(QPushButton* box, std::int32_t color);

  TrayOptions& tray_;
  PictureWindowOptions& picture_;

  QRadioButton* Gif89 = nullptr;
  QRadioButton* Gif87 = nullptr;
  QCheckBox* GifTransparent = nullptr;
  QPushButton* GifBackground = nullptr;
  QPushButton* GifTransparentColor = nullptr;
  QCheckBox* JpegOptimal = nullptr;
  QSpinBox* JpegQuality = nullptr;
  QSpinBox* JpegSmoothing = nullptr;
  QSpinBox* PngCompression = nullptr;
  QPushButton* PngBackground = nullptr;
  std::array<QRadioButton*, 9> types_{};
  QLineEdit* BaseName = nullptr;
  QCheckBox* AutoNumbering = nullptr;
  QLineEdit* Folder = nullptr;
};

}  // namespace vistrel
