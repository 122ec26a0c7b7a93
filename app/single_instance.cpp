#include "app/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/platform_choice.h"

namespace vistrel {

namespace {

constexpr std::size_t kMaxLineBytes = 64 * 1024;

long long NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}

// One copy per user and desktop: two sessions of a user may share the
// runtime folder.
std::string DisplayTag() {
  std::string tag = ChosenDisplayName(CurrentPlatformEnvironment());
  if (tag.empty()) tag = "none";
  for (char& c : tag)
    if (c == '/' || c == ':') c = '_';
  return tag;
}

}  // namespace

std::string RuntimeFolder() {
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg == '/') return xdg;
  std::string dir = "/tmp/vistrel-pro-" + std::to_string(getuid());
  if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return "/tmp";
  // Only a folder of our own, not open to others, will do.
  struct stat st{};
  if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
      (st.st_mode & 077) != 0)
    return "/tmp";
  return dir;
}

std::string CloseRequestSocketPath() {
  return RuntimeFolder() + "/Vistrel-Pro." + DisplayTag() + ".socket";
}

int ConnectToRunningCopy() {
  const std::string path = CloseRequestSocketPath();
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return -1;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  // A leftover socket of a copy that died refuses the connection.
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool SendLine(int fd, const std::string& line) {
  std::size_t sent = 0;
  while (sent < line.size()) {
    const ssize_t n = send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += std::size_t(n);
  }
  return true;
}

std::optional<std::string> ReadLine(int fd, std::string& buffer, int timeout_ms) {
  const long long deadline = NowMs() + timeout_ms;
  for (;;) {
    if (const std::size_t end = buffer.find('\n'); end != std::string::npos) {
      std::string line = buffer.substr(0, end);
      buffer.erase(0, end + 1);
      return line;
    }
    // A peer that floods without a line break is not one of ours.
    if (buffer.size() > kMaxLineBytes) return std::nullopt;
    const long long left = timeout_ms < 0 ? -1 : deadline - NowMs();
    if (timeout_ms >= 0 && left <= 0) return std::nullopt;
    pollfd p{fd, POLLIN, 0};
    const int r = poll(&p, 1, int(left));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return std::nullopt;
    char chunk[4096];
    const ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    buffer.append(chunk, std::size_t(n));
  }
}

TCloseReply SendCloseRequest(const std::string& title, int timeout_ms) {
  const int fd = ConnectToRunningCopy();
  if (fd < 0) return TCloseReply::None;  // no copy runs: no window
  std::string buffer;
  std::optional<std::string> reply;
  if (SendLine(fd, "CLOSE " + title + "\n")) reply = ReadLine(fd, buffer, timeout_ms);
  close(fd);
  if (reply && reply->rfind("CLOSED", 0) == 0) return TCloseReply::Closed;
  if (reply && reply->rfind("KEPT", 0) == 0) return TCloseReply::Kept;
  return TCloseReply::None;
}

bool InstanceGuard::Acquire(const std::string& name, int wait_ms) {
  Release();
  const std::string path = RuntimeFolder() + "/" + name;
  fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ < 0) return false;
  const long long deadline = NowMs() + wait_ms;
  while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if ((errno != EWOULDBLOCK && errno != EINTR) || NowMs() >= deadline) {
      close(fd_);
      fd_ = -1;
      return false;
    }
    usleep(20000);
  }
  return true;
}

void InstanceGuard::Release() {
  if (fd_ >= 0) close(fd_);  // closing drops the lock
  fd_ = -1;
}

}  // namespace vistrel
