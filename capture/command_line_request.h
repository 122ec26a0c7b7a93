// The capture command line: `--capture MODE` and its options turned into a
// request, or a usage message naming the argument that is wrong. Plain C++
// so the client side can parse without starting the GUI toolkit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "capture/capture_request.h"

namespace vistrel {

struct TCommandLineRequest {
  std::optional<TCaptureRequest> request;  // set when the arguments are valid
  std::string error;                       // otherwise what is wrong, naming the argument
};

// True when the arguments (without the program name) ask for a capture.
bool AsksForCapture(const std::vector<std::string>& args);

// Parses the arguments (without the program name).
TCommandLineRequest ParseCaptureArguments(const std::vector<std::string>& args);

}  // namespace vistrel
