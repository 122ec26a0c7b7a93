#include "mail/host_lookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "mail/socket_errors.h"

namespace vistrel {

struct THostLookup::Shared {
  int event = -1;
  std::atomic<bool> done{false};
  std::optional<TSocketAddress> result;  // written before `done`
  ~Shared() {
    if (event >= 0) close(event);
  }
};

std::optional<TSocketAddress> NumericAddress(const std::string& host, unsigned short port) {
  TSocketAddress a;
  auto* v4 = reinterpret_cast<sockaddr_in*>(&a.storage);
  if (inet_pton(AF_INET, host.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(port);
    a.length = sizeof(sockaddr_in);
    return a;
  }
  auto* v6 = reinterpret_cast<sockaddr_in6*>(&a.storage);
  if (inet_pton(AF_INET6, host.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(port);
    a.length = sizeof(sockaddr_in6);
    return a;
  }
  return std::nullopt;
}

namespace {

std::optional<TSocketAddress> Lookup(const std::string& host, unsigned short port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  const std::string service = std::to_string(port);
  if (host.empty() || getaddrinfo(host.c_str(), service.c_str(), &hints, &list) != 0) return std::nullopt;
  const addrinfo* pick = nullptr;
  for (const addrinfo* a = list; a; a = a->ai_next) {
    if (a->ai_family == AF_INET) { pick = a; break; }
    if (!pick && a->ai_family == AF_INET6) pick = a;
  }
  std::optional<TSocketAddress> out;
  if (pick && pick->ai_addrlen <= sizeof(sockaddr_storage)) {
    out.emplace();
    std::memcpy(&out->storage, pick->ai_addr, pick->ai_addrlen);
    out->length = pick->ai_addrlen;
  }
  freeaddrinfo(list);
  return out;
}

}  // namespace

THostLookup::THostLookup(const std::string& host, unsigned short port)
    : shared_(std::make_shared<Shared>()) {
  shared_->event = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (shared_->event < 0) throw TSocketError(SocketErrorTextForErrno(errno));
  std::thread([shared = shared_, host, port] {
    shared->result = Lookup(host, port);
    shared->done.store(true, std::memory_order_release);
    const std::uint64_t one = 1;
    (void)!write(shared->event, &one, sizeof one);
  }).detach();
}

THostLookup::~THostLookup() = default;

int THostLookup::Descriptor() const { return shared_->event; }

bool THostLookup::Done() const { return shared_->done.load(std::memory_order_acquire); }

std::optional<TSocketAddress> THostLookup::Result() const { return shared_->result; }

}  // namespace vistrel
