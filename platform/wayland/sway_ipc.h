// Asking sway (or another compositor that speaks the i3 IPC protocol) over
// its socket.
#pragma once

#include <optional>
#include <string>

namespace vistrel {

// Message types of the protocol.
constexpr unsigned kSwayGetTree = 4;

// Sends one message to the socket at `socket_path` and returns the reply's
// payload (JSON); nothing when the compositor cannot be reached or does not
// answer in time.
std::optional<std::string> AskSway(const std::string& socket_path, unsigned type,
                                   const std::string& payload = "");

}  // namespace vistrel
