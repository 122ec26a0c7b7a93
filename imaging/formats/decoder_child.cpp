#include "imaging/formats/decoder_child.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace vistrel {
namespace {

constexpr char kMagic[4] = {'V', 'P', 'I', 'X'};
constexpr std::size_t kHeaderBytes = 12;  // magic, width, height
constexpr std::size_t kMaxMessage = 4096;
constexpr long long kWaitSliceMs = 50;

std::atomic<void (*)()> wait_hook{nullptr};

struct TFd {
  int fd = -1;
  ~TFd() { Close(); }
  void Close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
};

FormatError StartError(const char* what) {
  return FormatError(std::string("Cannot start the decoder: ") + what + ": " + std::strerror(errno));
}

bool WriteFully(int fd, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= std::size_t(n);
  }
  return true;
}

// The child's standard input: a memory file holding the input.
int InputFile(TByteSpan input) {
  const int fd = ::memfd_create("vistrel-decode", MFD_CLOEXEC);
  if (fd < 0) throw StartError("memfd_create");
  if (!WriteFully(fd, input.data(), input.size()) || ::lseek(fd, 0, SEEK_SET) != 0) {
    const FormatError error = StartError("write");
    ::close(fd);
    throw error;
  }
  return fd;
}

// The environment without a display, so that nothing in the child talks
// to the desktop.
std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    const std::string_view entry(*e);
    if (entry.starts_with("DISPLAY=") || entry.starts_with("WAYLAND_DISPLAY=")) continue;
    env.emplace_back(entry);
  }
  return env;
}

std::vector<char*> PointerList(std::vector<std::string>& strings) {
  std::vector<char*> list;
  for (std::string& s : strings) list.push_back(s.data());
  list.push_back(nullptr);
  return list;
}

// A started child; killed and reaped unless it was reaped already.
struct TChild {
  pid_t pid = -1;
  ~TChild() { Kill(); }
  void Kill() {
    if (pid <= 0) return;
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid = -1;
  }
};

// Runs in the forked child: only async-signal-safe calls before execve.
[[noreturn]] void ExecChild(int in, int out, int err, const TChildLimits& limits, char** argv, char** envp) {
  if (::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(127);
  const rlimit cpu{rlim_t(limits.cpu_seconds), rlim_t(limits.cpu_seconds) + 1};
  const rlimit space{rlim_t(limits.address_space), rlim_t(limits.address_space)};
  const rlimit no_core{0, 0};
  if (::setrlimit(RLIMIT_CPU, &cpu) != 0 || ::setrlimit(RLIMIT_AS, &space) != 0) ::_exit(127);
  ::setrlimit(RLIMIT_CORE, &no_core);
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::signal(SIGPIPE, SIG_DFL);
  ::signal(SIGXCPU, SIG_DFL);
  ::close_range(3, ~0U, 0);
  ::execve(argv[0], argv, envp);
  ::_exit(127);
}

// The child's standard output: the header, then the pixel rows, written
// straight into the picture.
class TPictureSink {
 public:
  void Take(const std::uint8_t* p, std::size_t n) {
    while (n > 0) {
      if (header_got_ < kHeaderBytes) {
        const std::size_t k = std::min(n, kHeaderBytes - header_got_);
        std::memcpy(header_ + header_got_, p, k);
        header_got_ += k;
        p += k;
        n -= k;
        if (header_got_ == kHeaderBytes) Start();
        continue;
      }
      if (got_ >= total_) throw FormatError("The decoder sent more than its picture");
      const std::size_t row_bytes = std::size_t(picture_.Width()) * 3;
      const std::size_t in_row = std::size_t(got_ % row_bytes);
      const std::size_t k = std::min(n, row_bytes - in_row);
      std::memcpy(picture_.Row(int(got_ / row_bytes)) + in_row, p, k);
      got_ += k;
      p += k;
      n -= k;
    }
  }
  bool Complete() const { return header_got_ == kHeaderBytes && got_ == total_; }
  TPictureBitmap& Picture() { return picture_; }

 private:
  void Start() {
    std::uint32_t w = 0, h = 0;
    std::memcpy(&w, header_ + 4, 4);
    std::memcpy(&h, header_ + 8, 4);
    if (std::memcmp(header_, kMagic, 4) != 0) throw FormatError("The decoder's answer is garbled");
    CheckPictureSize(w, h);
    picture_.Allocate(int(w), int(h));
    total_ = std::uint64_t(w) * h * 3;
  }

  std::uint8_t header_[kHeaderBytes] = {};
  std::size_t header_got_ = 0;
  std::uint64_t got_ = 0, total_ = 0;
  TPictureBitmap picture_;
};

// The child's own message is its last line; libraries may have written
// warnings before it.
std::string LastLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text.substr(text.find_last_of('\n') + 1);
}

}  // namespace

TPictureBitmap DecodeInChild(const std::vector<std::string>& argv, TByteSpan input,
                             const TChildLimits& limits) {
  if (argv.empty() || ::access(argv[0].c_str(), X_OK) != 0)
    throw FormatError("The decoder " + (argv.empty() ? std::string() : argv[0]) + " is missing");
  TFd in{InputFile(input)};
  int out_pipe[2], err_pipe[2];
  if (::pipe2(out_pipe, O_CLOEXEC) != 0) throw StartError("pipe");
  TFd out{out_pipe[0]}, out_write{out_pipe[1]};
  if (::pipe2(err_pipe, O_CLOEXEC) != 0) throw StartError("pipe");
  TFd err{err_pipe[0]}, err_write{err_pipe[1]};

  std::vector<std::string> args = argv, env = ChildEnvironment();
  std::vector<char*> arg_list = PointerList(args), env_list = PointerList(env);
  TChild child;
  child.pid = ::fork();
  if (child.pid < 0) throw StartError("fork");
  if (child.pid == 0) ExecChild(in.fd, out_write.fd, err_write.fd, limits, arg_list.data(), env_list.data());
  in.Close();
  out_write.Close();
  err_write.Close();

  // Waits in poll with a deadline, so a child that hangs costs this
  // thread at most wall_seconds, in slices for the wait hook.
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(limits.wall_seconds);
  TPictureSink sink;
  std::string message;
  int status = 0;
  rusage usage{};
  std::uint8_t buffer[65536];
  for (;;) {
    if (void (*hook)() = wait_hook.load()) hook();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      child.Kill();
      throw FormatError("Decoding took longer than " + std::to_string(limits.wall_seconds) + " s");
    }
    if (out.fd < 0 && err.fd < 0) {
      const pid_t done = ::wait4(child.pid, &status, WNOHANG, &usage);
      if (done == child.pid) break;
      ::poll(nullptr, 0, int(std::min<long long>(left, 20)));  // it is ending
      continue;
    }
    pollfd fds[2];
    nfds_t count = 0;
    for (int fd : {out.fd, err.fd})
      if (fd >= 0) fds[count++] = pollfd{fd, POLLIN, 0};
    const int ready = ::poll(fds, count, int(std::min<long long>(left, kWaitSliceMs)));
    if (ready < 0 && errno != EINTR) throw StartError("poll");
    for (nfds_t i = 0; ready > 0 && i < count; ++i) {
      if (!fds[i].revents) continue;
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      const bool is_out = fds[i].fd == out.fd;
      if (n <= 0) {
        (is_out ? out : err).Close();
      } else if (is_out) {
        sink.Take(buffer, std::size_t(n));
      } else {
        message.append(reinterpret_cast<const char*>(buffer), std::size_t(n));
        if (message.size() > kMaxMessage) message.erase(0, message.size() - kMaxMessage);
      }
    }
  }
  child.pid = -1;  // reaped

  if (WIFSIGNALED(status)) {
    // SIGKILL comes at the hard limit, one second after SIGXCPU.
    const int sig = WTERMSIG(status);
    const bool out_of_time = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec >= limits.cpu_seconds;
    if (sig == SIGXCPU || (sig == SIGKILL && out_of_time))
      throw FormatError("Decoding took more than " + std::to_string(limits.cpu_seconds) + " s of processor time");
    throw FormatError(std::string("The decoder crashed (") + strsignal(sig) + ")");
  }
  if (WEXITSTATUS(status) != 0) {
    const std::string line = LastLine(std::move(message));
    throw FormatError(line.empty() ? "The decoder failed with exit code " + std::to_string(WEXITSTATUS(status))
                                   : line);
  }
  if (!sink.Complete()) throw FormatError("The decoder's picture is incomplete");
  return std::move(sink.Picture());
}

void SetChildWaitHook(void (*hook)()) { wait_hook.store(hook); }

bool WriteChildPicture(int fd, const TPictureBitmap& picture) {
  std::uint8_t header[kHeaderBytes];
  const std::uint32_t w = std::uint32_t(picture.Width()), h = std::uint32_t(picture.Height());
  std::memcpy(header, kMagic, 4);
  std::memcpy(header + 4, &w, 4);
  std::memcpy(header + 8, &h, 4);
  if (!WriteFully(fd, header, sizeof header)) return false;
  for (int y = 0; y < picture.Height(); ++y)
    if (!WriteFully(fd, picture.Row(y), std::size_t(w) * 3)) return false;
  return true;
}

}  // namespace vistrel
