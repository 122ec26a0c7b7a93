// The mail server field: "host", "host:port", "[v6 address]:port" or a
// bare IPv6 address; `default_port` unless given.
#pragma once

#include <cstdint>
#include <string>

namespace vistrel {

struct TServerAddress {
  std::string host;
  std::uint16_t port = 25;
};

// Raises TMailError "Invalid port in the mail server field: TEXT" for a
// port that is not a number from 1 to 65535.
TServerAddress ParseServerField(const std::string& field, std::uint16_t default_port = 25);

}  // namespace vistrel
