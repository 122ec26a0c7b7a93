#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

namespace vistrel::testing {
namespace {

pid_t Spawn(const std::vector<std::string>& argv, const std::string& display, int keep_fd,
            int stdout_fd) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
  const int null_fd = open("/dev/null", O_RDWR);
  dup2(null_fd, 0);
  dup2(stdout_fd >= 0 ? stdout_fd : null_fd, 1);
  dup2(null_fd, 2);
  for (int fd = 3; fd < 1024; ++fd)
    if (fd != keep_fd) close(fd);
  execvp(args[0], args.data());
  _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& display,
                           int keep_fd)
    : pid_(Spawn(argv, display, keep_fd, -1)) {}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(other.pid_), status_(other.status_) {
  other.pid_ = -1;
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Stop();
    pid_ = other.pid_;
    status_ = other.status_;
    other.pid_ = -1;
  }
  return *this;
}

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Running() {
  if (pid_ <= 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) == pid_) {
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
    return false;
  }
  return true;
}

int ChildProcess::Wait(std::chrono::milliseconds deadline) {
  if (WaitUntil([this] { return !Running(); }, deadline)) return status_;
  Stop();
  return -1;
}

void ChildProcess::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  if (!WaitUntil([this] { return !Running(); }, std::chrono::seconds(5)) && pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
}

int RunCommand(const std::vector<std::string>& argv, const std::string& display,
               std::chrono::milliseconds deadline) {
  ChildProcess child(argv, display);
  return child.Wait(deadline);
}

std::string CommandOutput(const std::vector<std::string>& argv, const std::string& display) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  // timeout(1) ends a command that hangs, so the read below ends too.
  std::vector<std::string> bounded{"timeout", "20"};
  bounded.insert(bounded.end(), argv.begin(), argv.end());
  const pid_t pid = Spawn(bounded, display, -1, fds[1]);
  close(fds[1]);
  std::string out;
  char buffer[4096];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) out.append(buffer, std::size_t(n));
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  return out;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace vistrel::testing
