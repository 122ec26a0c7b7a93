#include "platform/wayland/sway_ipc.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace vistrel {

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kMagic[] = "i3-ipc";
constexpr std::size_t kMagicBytes = 6;
constexpr std::size_t kHeaderBytes = kMagicBytes + 8;

// Waits until `fd` is ready for `events` or the deadline has passed.
bool WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, events, 0};
    const int ready = poll(&p, 1, int(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    return ready > 0;
  }
}

bool SendAll(int fd, const char* data, std::size_t size, Clock::time_point deadline) {
  while (size > 0) {
    if (!WaitFor(fd, POLLOUT, deadline)) return false;
    const ssize_t n = send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return false;
    data += n;
    size -= std::size_t(n);
  }
  return true;
}

bool ReadAll(int fd, char* data, std::size_t size, Clock::time_point deadline) {
  while (size > 0) {
    if (!WaitFor(fd, POLLIN, deadline)) return false;
    const ssize_t n = recv(fd, data, size, MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) return false;
    data += n;
    size -= std::size_t(n);
  }
  return true;
}

std::optional<std::string> Exchange(int fd, const sockaddr_un& addr, unsigned type,
                                    const std::string& payload, Clock::time_point deadline,
                                    std::string& failure) {
  if (connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
    failure = std::string("the compositor's socket cannot be reached: ") + std::strerror(errno);
    return std::nullopt;
  }
  // Lengths and types go in the machine's own byte order.
  char header[kHeaderBytes];
  std::memcpy(header, kMagic, kMagicBytes);
  const std::uint32_t fields[2] = {std::uint32_t(payload.size()), std::uint32_t(type)};
  std::memcpy(header + kMagicBytes, fields, sizeof fields);
  if (!SendAll(fd, header, sizeof header, deadline) ||
      !SendAll(fd, payload.data(), payload.size(), deadline) ||
      !ReadAll(fd, header, sizeof header, deadline)) {
    failure = "the compositor did not answer";
    return std::nullopt;
  }
  std::uint32_t answer[2];
  std::memcpy(answer, header + kMagicBytes, sizeof answer);
  if (std::memcmp(header, kMagic, kMagicBytes) != 0 || answer[1] != type) {
    failure = "the compositor's answer is not one of its IPC protocol";
    return std::nullopt;
  }
  if (answer[0] > kSwayMaxReplyBytes) {
    failure = "the compositor's answer claims " + std::to_string(answer[0]) + " bytes, more than any it sends";
    return std::nullopt;
  }
  std::string body(answer[0], '\0');
  if (!ReadAll(fd, body.data(), body.size(), deadline)) {
    failure = "the compositor's answer broke off";
    return std::nullopt;
  }
  return body;
}

}  // namespace

std::optional<std::string> AskSway(const std::string& socket_path, unsigned type,
                                   std::string& failure, const std::string& payload,
                                   std::chrono::milliseconds timeout) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (socket_path.empty() || socket_path.size() >= sizeof addr.sun_path) {
    failure = "the compositor names no IPC socket (SWAYSOCK)";
    return std::nullopt;
  }
  std::memcpy(addr.sun_path, socket_path.c_str(), socket_path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    failure = std::string("no socket: ") + std::strerror(errno);
    return std::nullopt;
  }
  std::optional<std::string> reply =
      Exchange(fd, addr, type, payload, Clock::now() + timeout, failure);
  close(fd);
  return reply;
}

}  // namespace vistrel
