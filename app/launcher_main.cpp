// vistrel-pro, the command users start. A capture command line is answered
// here without loading the GUI toolkit: the running copy is asked over its
// socket, which costs a process start and one round trip. Everything else,
// and a capture when no copy runs, goes to the windowed program
// vistrel-pro-gui, beside this one in the build tree or in the libexec
// folder once installed.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/capture_channel.h"
#include "app/capture_client.h"
#include "app/one_shot_capture.h"
#include "capture/command_line_request.h"
#include "imaging/program_beside.h"

namespace {

constexpr char kWindowedProgram[] = "vistrel-pro-gui";

// Runs the windowed program in this process, under this program's name.
void RunWindowedProgram(const std::string& path, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(path.c_str(), argv.data());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vistrel;
  const std::string windowed = ExecutableBesideProgram(kWindowedProgram);
  // Shortcuts and the installed documents are found from this program.
  if (const std::string self = RunningExecutable(); !self.empty())
    setenv(kStartedProgramVariable, self.c_str(), 1);

  const std::vector<std::string> args(argv, argv + argc);
  const std::vector<std::string> options(args.begin() + 1, args.end());
  if (AsksForCapture(options))
    return RunCaptureCommand(options, [&](const std::vector<std::string>& sent, int report_fd) {
      // The report pipe goes on into the windowed program.
      fcntl(report_fd, F_SETFD, 0);
      std::vector<std::string> one_shot = {args[0], kOneShotSwitch, std::to_string(report_fd)};
      one_shot.insert(one_shot.end(), sent.begin(), sent.end());
      RunWindowedProgram(windowed, one_shot);
      const std::string line = CaptureReplyLine(
          {TCaptureExit::Failed, "cannot start " + windowed + ": " + std::strerror(errno)});
      (void)!write(report_fd, line.data(), line.size());
      return int(TCaptureExit::Failed);
    });

  RunWindowedProgram(windowed, args);
  std::fprintf(stderr, "vistrel-pro: cannot start %s: %s\n", windowed.c_str(),
               std::strerror(errno));
  return 1;
}
