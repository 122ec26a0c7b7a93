// Asking sway (or another compositor that speaks the i3 IPC protocol) over
// its socket.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace vistrel {

// Message types of the protocol.
constexpr unsigned kSwayGetTree = 4;

// A whole exchange takes no longer than this, however slowly the peer
// dribbles its reply.
constexpr std::chrono::milliseconds kSwayReplyTimeout{3000};
// A tree of thousands of windows is a few megabytes; a larger length is no
// reply of sway's.
constexpr std::size_t kSwayMaxReplyBytes = 64u << 20;

// Sends one message to the socket at `socket_path` and returns the reply's
// payload (JSON); nothing when the compositor cannot be reached, does not
// answer in time or answers with something else, and then `failure` says
// which.
std::optional<std::string> AskSway(const std::string& socket_path, unsigned type,
                                   std::string& failure, const std::string& payload = "",
                                   std::chrono::milliseconds timeout = kSwayReplyTimeout);

}  // namespace vistrel
