// One print job through the program's CUPS backend, in two steps, so a test
// can change the print system between a job's start and its end:
//   cups_job_driver QUEUE
// begins the job and prints "begun" (or "error: TEXT"), waits for a line on
// stdin, ends the job and prints "accepted JOB-ID" or "refused: TEXT".
//   cups_job_driver --setup QUEUE PICTURE.png
// opens the printer set-up dialog on the queue, saves a picture of it and
// prints the entries of its paper size and source lists, one a line.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPainter>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <string>

#include "platform/print/printers.h"

using namespace vistrel;

namespace {

int ShowSetup(IPrinters& printers, const std::string& queue, const QString& picture) {
  QTimer::singleShot(500, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialog->grab().save(picture);
    for (const char* name : {"PaperSize", "PaperSource"}) {
      auto* list = dialog->findChild<QComboBox*>(name);
      for (int i = 0; list && i < list->count(); ++i)
        std::printf("%s %s\n", name, list->itemText(i).toUtf8().constData());
    }
    dialog->reject();
  });
  TPageSetup setup;
  setup.printer = queue;
  try {
    printers.SetupDialog(setup, {queue}, nullptr);
  } catch (const PrinterError& e) {
    std::printf("error: %s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (std::string(argv[1]) == "--setup" && argc < 4)) {
    std::fprintf(stderr, "usage: cups_job_driver QUEUE | --setup QUEUE PICTURE.png\n");
    return 2;
  }
  QApplication app(argc, argv);
  const auto printers = OpenCupsPrinters();
  if (std::string(argv[1]) == "--setup") return ShowSetup(*printers, argv[2], argv[3]);
  TPageSetup setup;
  setup.printer = argv[1];
  std::unique_ptr<IPrintJob> job;
  try {
    job = printers->BeginJob(setup, "Vistrel-Pro v1.05");
  } catch (const PrinterError& e) {
    std::printf("error: %s\n", e.what());
    return 1;
  }
  job->Canvas().fillRect(QRect(0, 0, 600, 600), Qt::black);
  std::puts("begun");
  std::fflush(stdout);
  std::string line;
  std::getline(std::cin, line);
  try {
    const TJobReceipt receipt = job->End();
    std::printf("accepted %d\n", receipt.job_id);
  } catch (const PrinterError& e) {
    std::printf("refused: %s\n", e.what());
    return 1;
  }
  return 0;
}
