#include "picture/PictureViewImage.h"

#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/operations/mono_bits.h"

namespace vistrel {

namespace {

const QList<QRgb>& MonoTable() {
  static const QList<QRgb> table{qRgb(0, 0, 0), qRgb(255, 255, 255)};
  return table;
}

}  // namespace

QImage WrapPicture(TPictureBitmap& picture) {
  if (picture.Empty()) return QImage();
  if (picture.IsMono()) {
    QImage image(picture.Bits(), picture.Width(), picture.Height(), qsizetype(picture.Stride()),
                 QImage::Format_Mono);
    image.setColorTable(MonoTable());
    return image;
  }
  return QImage(picture.Bits(), picture.Width(), picture.Height(), qsizetype(picture.Stride()),
                QImage::Format_BGR888);
}

QImage PictureToImage(const TPictureBitmap& picture) {
  if (picture.Empty()) return QImage();
  const QImage::Format format = picture.IsMono() ? QImage::Format_Mono : QImage::Format_BGR888;
  QImage view(picture.Bits(), picture.Width(), picture.Height(), qsizetype(picture.Stride()), format);
  if (picture.IsMono()) view.setColorTable(MonoTable());
  return view.copy();
}

void AllowPictureSizedImages() {
  // A reader may decode into 32 bits a pixel before the picture takes it.
  constexpr std::int64_t kMegabyte = 1024 * 1024;
  QImageReader::setAllocationLimit(int(TPictureBitmap::kMaxPixels * 4 / kMegabyte));
}

TPictureBitmap PictureFromImage(const QImage& image) {
  TPictureBitmap picture;
  if (image.isNull()) return picture;
  const int w = image.width(), h = image.height();
  if (image.depth() == 1) {
    const QImage mono = image.convertToFormat(QImage::Format_Mono);
    const QList<QRgb> table = mono.colorTable();
    const bool white0 = table.size() > 0 && qGray(table[0]) >= 128;
    const bool white1 = table.size() > 1 ? qGray(table[1]) >= 128 : !white0;
    picture.Allocate(w, h, PixelFormat::Mono1);
    const std::size_t row_bytes = (std::size_t(w) + 7) / 8;
    for (int y = 0; y < h; ++y) {
      const uchar* src = mono.constScanLine(y);
      std::uint8_t* dst = picture.Row(y);
      for (std::size_t i = 0; i < row_bytes; ++i) {
        if (!white0 && white1) dst[i] = src[i];
        else if (white0 && !white1) dst[i] = std::uint8_t(~src[i]);
        else dst[i] = white0 ? 0xFF : 0x00;
      }
    }
    return picture;
  }
  const QImage rgb = image.convertToFormat(QImage::Format_BGR888);
  picture.Allocate(w, h, PixelFormat::Bgr24);
  for (int y = 0; y < h; ++y) std::memcpy(picture.Row(y), rgb.constScanLine(y), std::size_t(w) * 3);
  return picture;
}

void DrawZoomedPicture(const TPictureBitmap& picture, const TViewAxis& x, const TViewAxis& y,
                       double zoom_percent, QPoint offset, QImage& target) {
  if (picture.Empty() || target.isNull() || target.format() != QImage::Format_RGB32) return;
  if (offset.x() < 0 || offset.y() < 0) return;
  const int ex = std::min(VisibleExtent(x, zoom_percent), target.width() - offset.x());
  const int ey = std::min(VisibleExtent(y, zoom_percent), target.height() - offset.y());
  if (ex <= 0 || ey <= 0) return;

  std::vector<int> columns(std::size_t(ex), 0);
  for (int d = 0; d < ex; ++d) columns[std::size_t(d)] = DrawnPictureIndex(x, zoom_percent, d);

  int previous_row = -1;
  for (int d = 0; d < ey; ++d) {
    QRgb* out = reinterpret_cast<QRgb*>(target.scanLine(offset.y() + d)) + offset.x();
    const int row = DrawnPictureIndex(y, zoom_percent, d);
    if (row == previous_row) {
      // Enlarged pictures repeat rows: copy the one just drawn.
      const QRgb* above = reinterpret_cast<const QRgb*>(target.constScanLine(offset.y() + d - 1)) + offset.x();
      std::memcpy(out, above, std::size_t(ex) * sizeof(QRgb));
      continue;
    }
    previous_row = row;
    const std::uint8_t* src = picture.Row(row);
    if (picture.IsMono()) {
      for (int i = 0; i < ex; ++i) out[i] = MonoBit(src, columns[std::size_t(i)]) ? 0xFFFFFFFFu : 0xFF000000u;
    } else {
      for (int i = 0; i < ex; ++i) {
        const std::uint8_t* p = src + std::size_t(columns[std::size_t(i)]) * 3;
        out[i] = qRgb(p[2], p[1], p[0]);
      }
    }
  }
}

}  // namespace vistrel
