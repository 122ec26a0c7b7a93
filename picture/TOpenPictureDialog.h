// "Load Picture": Qt's own (non-native) file-open dialog with the readable
// picture types and a preview of the selected file (zoom choice and a line
// with size, resolution, colour depth and file size).
#pragma once

#include <QFileDialog>

namespace vistrel {

class PicturePreviewPanel;

class TOpenPictureDialog : public QFileDialog {
  Q_OBJECT

 public:
  explicit TOpenPictureDialog(QWidget* parent = nullptr);

  // Shows `path` in the preview; a file that cannot be read leaves the
  // preview empty with the reader's message.
  void PreviewFile(const QString& path);

 private:
  PicturePreviewPanel* panel_ = nullptr;
};

// The filter list: "All graphics" first, then one entry per type.
QStringList OpenPictureFilters();

}  // namespace vistrel
