#include "picture/PicturePreviewPanel.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QTreeView>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "picture/PictureViewImage.h"

namespace vistrel {
namespace {

constexpr int kPreviewSide = 180;
constexpr int kDialogWidth = 900;
constexpr int kDialogHeight = 480;
constexpr int kPlacesWidth = 120;
// A large picture zoomed up would not fit into memory: the preview stops
// at this side.
constexpr int kLargestSide = 4096;

const char* const kZoomChoices[] = {"Fit",  "25%",  "50%",  "75%",  "100%", "125%",
                                    "150%", "175%", "200%", "300%", "400%"};

}  // namespace

PicturePreviewPanel::PicturePreviewPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("PreviewPanel");
  column_ = new QVBoxLayout(this);
  column_->setContentsMargins(0, 0, 0, 0);
  zoom_ = new QComboBox(this);
  zoom_->setObjectName("PreviewZoom");
  for (const char* choice : kZoomChoices) zoom_->addItem(choice);
  auto* scroller = new QScrollArea(this);
  scroller->setFixedSize(kPreviewSide + 4, kPreviewSide + 4);
  scroller->setAlignment(Qt::AlignCenter);
  preview_ = new QLabel;
  preview_->setObjectName("Preview");
  preview_->setAlignment(Qt::AlignCenter);
  scroller->setWidget(preview_);
  scroller->setWidgetResizable(false);
  info_ = new QLabel(this);
  info_->setObjectName("PreviewInfo");
  info_->setAlignment(Qt::AlignCenter);
  info_->setWordWrap(true);
  info_->setMaximumWidth(kPreviewSide + 4);
  column_->addWidget(zoom_);
  column_->addWidget(scroller);
  column_->addWidget(info_);
  connect(zoom_, &QComboBox::currentIndexChanged, this, &PicturePreviewPanel::ShowZoomed);
  ShowZoomed();
}

PicturePreviewPanel* PicturePreviewPanel::AttachTo(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  dialog.setDefaultSuffix("PNG");
  auto* panel = new PicturePreviewPanel(&dialog);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addWidget(panel, 0, grid->columnCount(), grid->rowCount(), 1);
  // The detail view's Size, Type and Date columns take what their texts
  // need; the name column takes the rest.
  if (auto* tree = dialog.findChild<QTreeView*>("treeView")) {
    QHeaderView* header = tree->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
      header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  // Room for the list with its columns beside the panel, and for the
  // places at the left with their names.
  dialog.resize(std::max(dialog.width(), kDialogWidth), std::max(dialog.height(), kDialogHeight));
  if (auto* places = dialog.findChild<QSplitter*>("splitter"))
    places->setSizes({kPlacesWidth, kDialogWidth});
  return panel;
}

void PicturePreviewPanel::ShowPicture(TPictureBitmap picture, const QString& extra) {
  picture_ = std::move(picture);
  if (picture_.Empty()) return ShowMessage(extra);
  // One line per fact, broken where the program says, never inside "1920
  // x 1080 pixels" as word wrap would.
  QStringList lines{QString("%1 x %2 pixels").arg(picture_.Width()).arg(picture_.Height()),
                    QString("%1 dpi, %2 bits").arg(picture_.DpiX()).arg(picture_.BitsPerPixel())};
  if (!extra.isEmpty()) lines << extra;
  info_->setWordWrap(false);
  info_->setText(lines.join('\n'));
  ShowZoomed();
}

void PicturePreviewPanel::ShowMessage(const QString& message) {
  picture_.Clear();
  info_->setWordWrap(true);  // a message may be long
  info_->setText(message);
  ShowZoomed();
}

void PicturePreviewPanel::ShowZoomed() {
  if (picture_.Empty()) {
    preview_->clear();
    preview_->resize(kPreviewSide, kPreviewSide);
    return;
  }
  // The bridge may draw on the picture it wraps; the panel owns this copy.
  const QImage image = WrapPicture(picture_);
  QImage shown;
  if (zoom_->currentIndex() <= 0) {
    shown = image.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  } else {
    double factor = QString(kZoomChoices[zoom_->currentIndex()]).chopped(1).toDouble() / 100.0;
    factor = std::min(factor, double(kLargestSide) / std::max(image.width(), image.height()));
    const QSize size(std::max(1, int(image.width() * factor)),
                     std::max(1, int(image.height() * factor)));
    shown = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  preview_->setPixmap(QPixmap::fromImage(shown));
  preview_->resize(shown.size());
}

}  // namespace vistrel
