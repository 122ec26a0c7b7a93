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

constexpr char kMagic[] = "i3-ipc";
constexpr std::size_t kMagicBytes = 6;
constexpr std::size_t kHeaderBytes = kMagicBytes + 8;
constexpr int kReplyTimeoutMs = 5000;

bool SendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= std::size_t(n);
  }
  return true;
}

bool ReadAll(int fd, char* data, std::size_t size) {
  while (size > 0) {
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, kReplyTimeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    const ssize_t n = read(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= std::size_t(n);
  }
  return true;
}

}  // namespace

std::optional<std::string> AskSway(const std::string& socket_path, unsigned type,
                                   const std::string& payload) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (socket_path.empty() || socket_path.size() >= sizeof addr.sun_path) return std::nullopt;
  std::memcpy(addr.sun_path, socket_path.c_str(), socket_path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> reply;
  // Lengths and types go in the machine's own byte order.
  char header[kHeaderBytes];
  std::memcpy(header, kMagic, kMagicBytes);
  const std::uint32_t fields[2] = {std::uint32_t(payload.size()), std::uint32_t(type)};
  std::memcpy(header + kMagicBytes, fields, sizeof fields);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
      SendAll(fd, header, sizeof header) && SendAll(fd, payload.data(), payload.size()) &&
      ReadAll(fd, header, sizeof header) && std::memcmp(header, kMagic, kMagicBytes) == 0) {
    std::uint32_t answer[2];
    std::memcpy(answer, header + kMagicBytes, sizeof answer);
    std::string body(answer[0], '\0');
    if (answer[1] == type && ReadAll(fd, body.data(), body.size())) reply = std::move(body);
  }
  close(fd);
  return reply;
}

}  // namespace vistrel
