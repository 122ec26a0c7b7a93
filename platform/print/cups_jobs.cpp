#include "platform/print/cups_jobs.h"

#include <cups/cups.h>

#include <QPageSize>
#include <QSizeF>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <optional>

namespace vistrel {

namespace {

using namespace std::chrono_literals;

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

bool TimedOut(http_t* http, const TCupsProgress& progress) {
  return (http && httpError(http) == ETIMEDOUT) ||
         std::chrono::steady_clock::now() - progress.Last() >= kCupsTimeout - 250ms;
}

// The last request failed: CUPS did not answer, or answered with a reason.
[[noreturn]] void Fail(http_t* http, const TCupsProgress& progress, const std::string& prefix) {
  if (TimedOut(http, progress)) throw PrinterError(kCupsNotAnswering);
  throw PrinterError(prefix + cupsLastErrorString());
}

THttp Connect(const std::string& queue) {
  THttp http = ConnectCups();
  if (!http)
    throw PrinterError("Printer " + Quoted(queue) + ": the print system (CUPS) is not running");
  return http;
}

// The queue's destination and its capabilities, freed together.
class TDest {
 public:
  TDest(http_t* http, const std::string& queue, TCupsProgress& progress) {
    dest_ = cupsGetNamedDest(http, queue.c_str(), nullptr);
    if (!dest_) {
      if (TimedOut(http, progress)) throw PrinterError(kCupsNotAnswering);
      throw PrinterError("Printer " + Quoted(queue) + " is not installed");
    }
    progress.Touch();
    info_ = cupsCopyDestInfo(http, dest_);
    if (!info_) {
      cupsFreeDests(1, dest_);
      Fail(http, progress, "Printer " + Quoted(queue) + ": ");
    }
    progress.Touch();
  }
  ~TDest() {
    cupsFreeDestInfo(info_);
    cupsFreeDests(1, dest_);
  }
  TDest(const TDest&) = delete;
  TDest& operator=(const TDest&) = delete;
  cups_dest_t* dest() const { return dest_; }
  cups_dinfo_t* info() const { return info_; }

 private:
  cups_dest_t* dest_ = nullptr;
  cups_dinfo_t* info_ = nullptr;
};

// The Windows paper code of a sheet size, 0 when it has none.
int PaperCodeOf(int width, int length) {
  const QPageSize size(QSizeF(width / 100.0, length / 100.0), QPageSize::Millimeter, QString(),
                       QPageSize::FuzzyMatch);
  return size.id() == QPageSize::Custom ? 0 : size.windowsId();
}

// "pending", "processing", "completed"...: in the queue. "canceled" or
// "aborted": the printer dropped it; the reason is returned then.
std::optional<std::string> DroppedReason(http_t* http, int job, TCupsProgress& progress) {
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/jobs/%d", job);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  static const char* const kAttrs[] = {"job-state", "job-state-message", "job-state-reasons"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr,
                kAttrs);
  ipp_t* response = cupsDoRequest(http, request, "/");
  if (!response || ippGetStatusCode(response) > IPP_STATUS_OK_CONFLICTING) {
    ippDelete(response);
    Fail(http, progress, "");
  }
  progress.Touch();
  std::optional<std::string> reason;
  const int state = ippGetInteger(ippFindAttribute(response, "job-state", IPP_TAG_ENUM), 0);
  if (state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED) {
    const char* message =
        ippGetString(ippFindAttribute(response, "job-state-message", IPP_TAG_TEXT), 0, nullptr);
    if (message && *message) {
      reason = message;
    } else {
      reason = state == IPP_JSTATE_CANCELED ? "the job was canceled" : "the job was aborted";
      if (ipp_attribute_t* reasons = ippFindAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD))
        reason = *reason + " (" + ippGetString(reasons, 0, nullptr) + ")";
    }
  }
  ippDelete(response);
  return reason;
}

}  // namespace

TPrinterList QueryPrinters(TCupsProgress& progress) {
  TPrinterList list;
  THttp http = ConnectCups();
  if (!http) return list;
  ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
  static const char* const kAttrs[] = {"printer-name"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 1, nullptr,
                kAttrs);
  ipp_t* response = cupsDoRequest(http.get(), request, "/");
  // No queue at all is "not found".
  if (!response || (ippGetStatusCode(response) > IPP_STATUS_OK_CONFLICTING &&
                    ippGetStatusCode(response) != IPP_STATUS_ERROR_NOT_FOUND)) {
    ippDelete(response);
    Fail(http.get(), progress, "The print system (CUPS) could not list its printers: ");
  }
  progress.Touch();
  for (ipp_attribute_t* a = ippFindAttribute(response, "printer-name", IPP_TAG_NAME); a;
       a = ippFindNextAttribute(response, "printer-name", IPP_TAG_NAME))
    list.names.emplace_back(ippGetString(a, 0, nullptr));
  ippDelete(response);
  if (const char* name = cupsGetDefault2(http.get())) list.default_name = name;
  if (list.default_name.empty() && TimedOut(http.get(), progress))
    throw PrinterError(kCupsNotAnswering);
  list.answered = true;
  return list;
}

TQueueMedia QueryMedia(const std::string& queue, int paper_size, TCupsProgress& progress) {
  if (queue.empty()) throw PrinterError("There is no default printer currently selected");
  THttp http = Connect(queue);
  const TDest dest(http.get(), queue, progress);
  cups_size_t size{};
  bool found = false;
  if (paper_size != 0) {
    const QPageSize::PageSizeId id = QPageSize::id(paper_size);
    if (id != QPageSize::Custom) {
      const QSizeF mm = QPageSize::size(id, QPageSize::Millimeter);
      found = cupsGetDestMediaBySize(http.get(), dest.dest(), dest.info(),
                                     int(std::lround(mm.width() * 100)),
                                     int(std::lround(mm.height() * 100)), CUPS_MEDIA_FLAGS_DEFAULT,
                                     &size) != 0;
    }
  }
  // The queue's "media-default" (libcups's own default is Letter unless
  // the destination carries a "media" option).
  if (!found) {
    if (ipp_attribute_t* media = cupsFindDestDefault(http.get(), dest.dest(), dest.info(), "media"))
      if (const char* name = ippGetString(media, 0, nullptr))
        found = cupsGetDestMediaByName(http.get(), dest.dest(), dest.info(), name,
                                       CUPS_MEDIA_FLAGS_DEFAULT, &size) != 0;
  }
  if (!found)
    found = cupsGetDestMediaDefault(http.get(), dest.dest(), dest.info(), CUPS_MEDIA_FLAGS_DEFAULT,
                                    &size) != 0;
  if (!found) return {"iso_a4_210x297mm", 21000, 29700};  // a queue that names no paper
  return {size.media, size.width, size.length, size.left, size.top, size.right, size.bottom};
}

TQueueChoices QueryChoices(const std::string& queue, TCupsProgress& progress) {
  THttp http = Connect(queue);
  const TDest dest(http.get(), queue, progress);
  TQueueChoices choices;
  const int count = cupsGetDestMediaCount(http.get(), dest.dest(), dest.info(), 0);
  for (int i = 0; i < count; ++i) {
    cups_size_t size{};
    if (!cupsGetDestMediaByIndex(http.get(), dest.dest(), dest.info(), i, 0, &size)) continue;
    const int code = PaperCodeOf(size.width, size.length);
    if (code <= 0 || std::any_of(choices.sizes.begin(), choices.sizes.end(),
                                 [code](const auto& s) { return s.first == code; }))
      continue;
    choices.sizes.emplace_back(code, QPageSize(QPageSize::id(code)).name().toStdString());
  }
  if (ipp_attribute_t* sources =
          cupsFindDestSupported(http.get(), dest.dest(), dest.info(), "media-source")) {
    for (int i = 0; i < ippGetCount(sources); ++i) {
      const std::string keyword = ippGetString(sources, i, nullptr);
      if (const int bin = BinFromMediaSource(keyword)) choices.sources.emplace_back(bin, keyword);
    }
  }
  return choices;
}

TJobReceipt SubmitPdf(const std::string& queue, const std::string& title,
                      const TJobOptions& options, const QByteArray& pdf, TCupsProgress& progress) {
  const std::string refused = "Printer " + Quoted(queue) + " refused the print job: ";
  THttp http = Connect(queue);
  cups_option_t* list = nullptr;
  int count = 0;
  for (const auto& [name, value] : options)
    count = cupsAddOption(name.c_str(), value.c_str(), count, &list);
  const int job = cupsCreateJob(http.get(), queue.c_str(), title.c_str(), count, list);
  cupsFreeOptions(count, list);
  if (job <= 0) Fail(http.get(), progress, refused);
  progress.Touch();

  auto fail = [&]() {
    const bool timed_out = TimedOut(http.get(), progress);
    const std::string reason = cupsLastErrorString();
    cupsCancelJob2(http.get(), queue.c_str(), job, 0);
    throw PrinterError(timed_out ? std::string(kCupsNotAnswering) : refused + reason);
  };
  if (cupsStartDocument(http.get(), queue.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
      HTTP_STATUS_CONTINUE)
    fail();
  constexpr qsizetype kChunk = 64 * 1024;
  for (qsizetype at = 0; at < pdf.size(); at += kChunk) {
    if (cupsWriteRequestData(http.get(), pdf.constData() + at,
                             std::size_t(std::min(kChunk, pdf.size() - at))) !=
        HTTP_STATUS_CONTINUE)
      fail();
    progress.Touch();
  }
  if (cupsFinishDocument(http.get(), queue.c_str()) != IPP_STATUS_OK) fail();
  progress.Touch();
  if (const std::optional<std::string> reason = DroppedReason(http.get(), job, progress))
    throw PrinterError(refused + *reason);
  return {queue, job};
}

}  // namespace vistrel
