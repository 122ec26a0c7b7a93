#include "output/print_pass.h"

#include <QApplication>
#include <algorithm>
#include <QDateTime>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QPainter>

#include "imaging/print_picture.h"
#include "output/TWMFPrinter.h"
#include "platform/system_info.h"

namespace vistrel {

namespace {

QImage ImageOf(const TPrintPicture& pic) {
  if (pic.bits == 8) {
    QImage image(pic.pixels.data(), pic.width, pic.height, qsizetype(pic.stride),
                 QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const TRgbQuad& q : pic.palette) table.append(qRgb(q.red, q.green, q.blue));
    image.setColorTable(table);
    return image;
  }
  return QImage(pic.pixels.data(), pic.width, pic.height, qsizetype(pic.stride),
                QImage::Format_BGR888);
}

// The hourglass for one copy, back to normal however the copy ends.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

int FooterLines(const std::array<bool, 4>& footer) {
  int n = 0;
  for (bool on : footer) n += on ? 1 : 0;
  return n;
}

}  // namespace

QString FooterDateTime(const QDateTime& now) {
  const QLocale locale;
  const QDate d = now.date();
  const QTime t = now.time();
  const int hour12 = t.hour() % 12 == 0 ? 12 : t.hour() % 12;
  return QString("%1, %2 %3, %4  %5:%6:%7 %8")
      .arg(locale.dayName(d.dayOfWeek(), QLocale::LongFormat),
           locale.monthName(d.month(), QLocale::ShortFormat))
      .arg(d.day(), 2, 10, QChar('0'))
      .arg(d.year(), 4, 10, QChar('0'))
      .arg(hour12, 2, 10, QChar('0'))
      .arg(t.minute(), 2, 10, QChar('0'))
      .arg(t.second(), 2, 10, QChar('0'))
      .arg(t.hour() < 12 ? "AM" : "PM");
}

std::array<QString, 4> FooterTexts(const std::string& footer_text) {
  static const TSystemInfo info;
  return {FooterDateTime(QDateTime::currentDateTime()),
          QString::fromStdString("User: " + info.NetworkUserName()),
          QString::fromStdString("Operating System: " + info.PlatformID() + " Version: " +
                                 info.MajorVersion() + " " + info.MinorVersion() +
                                 " Build: " + info.BuildNumber()),
          QString::fromStdString(footer_text)};
}

TPrintPassResult RunPrintPass(const TPictureBitmap& picture, const TPrintLayout& layout,
                              const std::array<QString, 4>& footer_texts, bool preview,
                              IPrinters& printers, const TPrintPassHooks& hooks) {
  TPrintPassResult result;
  std::unique_ptr<TPrinter> printer =
      preview ? std::make_unique<TWMFPrinter>(printers) : std::make_unique<TPrinter>(printers);
  printer->Setup = {layout.queue, layout.orientation, layout.paper_size, layout.paper_source};
  printer->Title = kPrintJobTitle;
  if (hooks.pump) hooks.pump();

  const int copies = preview ? std::min(layout.copies, 1) : layout.copies;
  for (int k = 1; k <= copies; ++k) {
    WaitCursor wait;
    printer->BeginDoc();
    const int dpi_x = printer->DpiX(), dpi_y = printer->DpiY();
    int page_width = printer->PageWidth(), page_height = printer->PageHeight();
    if (preview && layout.orientation == TPageOrientation::Landscape)
      std::swap(page_width, page_height);
    QPainter& canvas = printer->Canvas();

    QFont font(kFooterFont);
    if (layout.footer_points > 0)
      font.setPixelSize(std::max(1, MulDiv(layout.footer_points, dpi_y, 72)));
    else
      font = canvas.font();
    const int line_height = QFontMetrics(font, canvas.device()).height();

    TPrintGeometryInput in;
    in.picture_width = picture.Width();
    in.picture_height = picture.Height();
    in.printer_dpi_x = dpi_x;
    in.printer_dpi_y = dpi_y;
    in.screen_dpi_x = ScreenDpiX();
    in.screen_dpi_y = ScreenDpiY();
    in.page_width = page_width;
    in.page_height = page_height;
    in.line_height = line_height;
    in.footer_lines = FooterLines(layout.footer);
    in.scaling = layout.scaling;
    in.picture_percent = layout.picture_percent;
    in.page_percent = layout.page_percent;
    in.keep_proportions = layout.keep_proportions;
    in.alignment = layout.alignment;
    const TPrintGeometry g = PrintGeometry(in);

    if (hooks.pump) hooks.pump();
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, true);
    canvas.setRenderHint(QPainter::LosslessImageRendering, true);
    canvas.setBrushOrigin(0, 0);
    const TPrintPicture prepared = PreparePrintPicture(picture, layout.grayscale, layout.optimize);
    result.picture_bytes = prepared.PixelDataSize();
    if (g.width > 0 && g.height > 0 && prepared.width > 0 && prepared.height > 0)
      canvas.drawImage(QRect(g.x, g.y, g.width, g.height), ImageOf(prepared));

    canvas.setFont(font);
    canvas.setPen(Qt::black);
    const int ascent = QFontMetrics(font, canvas.device()).ascent();
    int y = g.footer_y;
    for (std::size_t i = 0; i < layout.footer.size(); ++i) {
      if (!layout.footer[i]) continue;
      canvas.drawText(g.footer_x, y + ascent, footer_texts[i]);
      y += line_height;
    }
    if (hooks.pump) hooks.pump();

    const std::optional<TJobReceipt> receipt = printer->EndDoc();
    if (receipt) result.accepted.push_back(*receipt);
    if (preview) {
      auto* wmf = static_cast<TWMFPrinter*>(printer.get());
      if (const QPicture* page = wmf->Page(0)) result.preview = *page;
      result.page_size = QSize(page_width, page_height);
    } else if (receipt && hooks.sent) {
      hooks.sent("Picture Sent to " + layout.entry + " Copy Number " + QString::number(k));
    }
  }
  return result;
}

}  // namespace vistrel
