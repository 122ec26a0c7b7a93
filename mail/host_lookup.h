// A name lookup that runs beside the user interface and can be left behind:
// getaddrinfo() blocks, so it runs on a worker thread that reports through
// an event descriptor the caller can poll(). Abandoning a lookup never
// waits for it; the worker ends on its own.
#pragma once

#include <sys/socket.h>

#include <memory>
#include <optional>
#include <string>

namespace vistrel {

struct TSocketAddress {
  sockaddr_storage storage{};
  socklen_t length = 0;
  int family() const { return storage.ss_family; }
};

// A dotted IPv4 or an IPv6 literal, without a lookup.
std::optional<TSocketAddress> NumericAddress(const std::string& host, unsigned short port);

class THostLookup {
 public:
  THostLookup(const std::string& host, unsigned short port);
  ~THostLookup();  // abandons a lookup still running
  THostLookup(const THostLookup&) = delete;
  THostLookup& operator=(const THostLookup&) = delete;

  // Readable when the lookup is done.
  int Descriptor() const;
  bool Done() const;
  // The first IPv4 address, else the first other one; empty when the
  // lookup failed. Only after Done().
  std::optional<TSocketAddress> Result() const;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace vistrel
