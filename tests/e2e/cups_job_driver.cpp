// One print job through the program's CUPS backend, in two steps, so a test
// can change the print system between a job's start and its end:
//   cups_job_driver QUEUE
// begins the job and prints "begun" (or "error: TEXT"), waits for a line on
// stdin, ends the job and prints "accepted JOB-ID" or "refused: TEXT".
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <iostream>
#include <string>

#include "platform/print/printers.h"

using namespace vistrel;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: cups_job_driver QUEUE\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  const auto printers = OpenCupsPrinters();
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
