// `vistrel-pro --capture ...`: the asking side. It checks the arguments,
// hands the request to the running copy, or, when none runs, to a one-shot
// capture in a child process, and turns the reply into output and an exit
// status (capture_channel.h). It never starts the GUI toolkit itself.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/capture_channel.h"

namespace vistrel {

// Carries out the capture of valid arguments (paths made absolute) in a
// child process of its own and writes the reply line to `report_fd` when
// it has ended. Returns the child's exit code.
using TOneShotCapture = std::function<int(const std::vector<std::string>& args, int report_fd)>;

// Runs the command line `args` (without the program name); returns the
// exit status.
int RunCaptureCommand(const std::vector<std::string>& args, const TOneShotCapture& one_shot);

// The arguments with the caller's paths made absolute, since the running
// copy has another working folder, and "--output -" turned into
// "--output <stdout_file>".
std::vector<std::string> WithCallerPaths(const std::vector<std::string>& args,
                                         const std::string& working_folder,
                                         const std::string& stdout_file);

}  // namespace vistrel
