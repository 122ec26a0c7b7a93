#include "app/capture_client.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "app/single_instance.h"
#include "capture/command_line_request.h"

namespace vistrel {

namespace {

// The running copy says ACCEPTED as soon as it reads the request.
constexpr int kAcceptMs = 10000;

TCaptureReply Failure(std::string text) { return {TCaptureExit::Failed, std::move(text)}; }

std::optional<TCaptureReply> AskRunningCopy(const std::vector<std::string>& args) {
  const int fd = ConnectToRunningCopy();
  if (fd < 0) return std::nullopt;
  std::string buffer;
  TCaptureReply reply = Failure("the running copy does not answer");
  if (SendLine(fd, CaptureRequestLine(args))) {
    const std::optional<std::string> accepted = ReadLine(fd, buffer, kAcceptMs);
    if (accepted && *accepted == kCaptureAccepted) {
      // The capture may wait for a selection or a window the user closes.
      const std::optional<std::string> line = ReadLine(fd, buffer, -1);
      const std::optional<TCaptureReply> parsed = line ? ParseCaptureReply(*line) : std::nullopt;
      reply = parsed ? *parsed : Failure("the running copy ended during the capture");
    } else if (accepted) {
      reply = Failure(
          "the running copy does not take captures; end it with \"vistrel-pro /C\" and try again");
    }
  }
  close(fd);
  return reply;
}

TCaptureReply RunInChild(const std::vector<std::string>& args, const TOneShotCapture& one_shot) {
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) return Failure(std::string("pipe: ") + std::strerror(errno));
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) {
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    return Failure(std::string("fork: ") + std::strerror(errno));
  }
  if (pid == 0) {
    close(pipe_fds[0]);
    _exit(one_shot(args, pipe_fds[1]));
  }
  close(pipe_fds[1]);
  std::string buffer;
  const std::optional<std::string> line = ReadLine(pipe_fds[0], buffer, -1);
  close(pipe_fds[0]);
  if (const std::optional<TCaptureReply> reply = line ? ParseCaptureReply(*line) : std::nullopt)
    return *reply;  // the child may stay to hold the clipboard
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFSIGNALED(status))
    return Failure("the capture ended on signal " + std::to_string(WTERMSIG(status)));
  return Failure("the capture ended without a result");
}

// A private file for the picture on its way to standard output; empty when
// none can be made.
std::string MakeStandardOutputFile() {
  std::string name = RuntimeFolder() + "/vistrel-pro-capture-XXXXXX.png";
  const int fd = mkstemps(name.data(), 4);
  if (fd < 0) return {};
  close(fd);
  return name;
}

bool CopyToStandardOutput(const std::string& path) {
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return false;
  char chunk[65536];
  bool ok = true;
  while (const std::size_t n = std::fread(chunk, 1, sizeof chunk, in))
    ok = ok && std::fwrite(chunk, 1, n, stdout) == n;
  ok = ok && !std::ferror(in);
  std::fclose(in);
  return std::fflush(stdout) == 0 && ok;
}

std::string WorkingFolder() {
  char buf[PATH_MAX];
  return getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

}  // namespace

std::vector<std::string> WithCallerPaths(const std::vector<std::string>& args,
                                         const std::string& working_folder,
                                         const std::string& stdout_file) {
  std::vector<std::string> out = args;
  for (std::size_t i = 0; i + 1 < out.size(); ++i) {
    if (out[i] != "--output" && out[i] != "--output-dir") continue;
    std::string& value = out[++i];
    if (out[i - 1] == "--output" && value == "-")
      value = stdout_file;
    else if (!value.empty() && value[0] != '/')
      value = working_folder + "/" + value;
  }
  return out;
}

int RunCaptureCommand(const std::vector<std::string>& args, const TOneShotCapture& one_shot) {
  const TCommandLineRequest parsed = ParseCaptureArguments(args);
  if (!parsed.request) {
    std::fprintf(stderr, "vistrel-pro: %s\nTry \"vistrel-pro --help\".\n", parsed.error.c_str());
    return int(TCaptureExit::Usage);
  }
  std::string stdout_file;
  if (parsed.request->save && parsed.request->save->ToStandardOutput()) {
    stdout_file = MakeStandardOutputFile();
    if (stdout_file.empty()) {
      std::fprintf(stderr, "vistrel-pro: no private file for standard output in %s\n",
                   RuntimeFolder().c_str());
      return int(TCaptureExit::Failed);
    }
  }
  const std::vector<std::string> sent = WithCallerPaths(args, WorkingFolder(), stdout_file);
  std::optional<TCaptureReply> reply = AskRunningCopy(sent);
  if (!reply) reply = RunInChild(sent, one_shot);

  if (reply->status == TCaptureExit::Done && !stdout_file.empty()) {
    if (!CopyToStandardOutput(stdout_file))
      *reply = Failure("the picture could not be written to standard output");
  } else if (reply->status == TCaptureExit::Done && !reply->text.empty()) {
    std::printf("%s\n", reply->text.c_str());
  }
  if (!stdout_file.empty()) unlink(stdout_file.c_str());
  if (reply->status != TCaptureExit::Done)
    std::fprintf(stderr, "vistrel-pro: %s\n", reply->text.c_str());
  return int(reply->status);
}

}  // namespace vistrel
