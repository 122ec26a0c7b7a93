// The capture command line between a new process and the running copy, on
// the single-instance socket (see single_instance.h). The new process sends
//   CAPTURE <argument> <argument> ...
// with each argument percent-encoded; the running copy answers "ACCEPTED"
// at once, then, when the capture has ended, one line of
//   DONE <path>        (the path written, or nothing)
//   CANCELLED <text>   (left without a selection)
//   USAGE <text>       (the arguments are wrong)
//   FAILED <text>      (what went wrong)
// with the path or text percent-encoded. Plain C++: the asking side never
// starts the GUI toolkit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "capture/capture_request.h"

namespace vistrel {

// The exit status of a command-line capture.
enum class TCaptureExit { Done = 0, Cancelled = 1, Usage = 2, Failed = 3 };

struct TCaptureReply {
  TCaptureExit status = TCaptureExit::Done;
  std::string text;  // the path written (Done), else a message
};

std::string CaptureRequestLine(const std::vector<std::string>& args);
// The arguments of a request line, or nothing when it is not one.
std::optional<std::vector<std::string>> CaptureRequestArguments(const std::string& line);

std::string CaptureReplyLine(const TCaptureReply& reply);
// The reply of a line, or nothing when it is not one ("ACCEPTED" is none).
std::optional<TCaptureReply> ParseCaptureReply(const std::string& line);

// The reply to a request that ended with `outcome`.
TCaptureReply ReplyForOutcome(const TCaptureOutcome& outcome);

inline constexpr char kCaptureAccepted[] = "ACCEPTED";

}  // namespace vistrel
