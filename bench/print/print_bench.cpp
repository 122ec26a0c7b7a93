// One print pass of a picture file to a CUPS queue, as the picture window's
// "Print" button runs it: print_bench PICTURE.png QUEUE. Prints the seconds
// from the command to the job accepted by CUPS; the fonts are loaded before,
// as in the running program.
#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "output/print_pass.h"

using namespace vistrel;

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: print_bench PICTURE.png QUEUE\n");
    return 2;
  }
  QApplication app(argc, argv);
  const QImage image = QImage(argv[1]).convertToFormat(QImage::Format_BGR888);
  if (image.isNull()) return 1;
  TPictureBitmap picture(image.width(), image.height());
  for (int y = 0; y < image.height(); ++y)
    std::memcpy(picture.Row(y), image.constScanLine(y), std::size_t(image.width()) * 3);

  const auto printers = OpenCupsPrinters();
  // The resident program has its fonts loaded long before it prints.
  QFontDatabase::families();
  TPrintLayout layout;
  layout.queue = argv[2];
  layout.entry = argv[2];
  const auto start = std::chrono::steady_clock::now();
  RunPrintPass(picture, layout, FooterTexts("bench"), false, *printers, {});
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%.4f\n", took.count());
  return 0;
}
