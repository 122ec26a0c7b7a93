// What keeps two copies of the program from running for one user, and how
// one copy asks another to close.
//
// The guard "Vistrel_pro" is an exclusive flock on a file of that name in
// the runtime folder, held until the message loop has ended. A running copy
// answers close requests for its window titles on a local socket in the same
// folder, one per X display: the request line is "CLOSE <title>", the reply
// "CLOSED" after the copy has run its whole exit sequence, "KEPT" when its
// user chose to keep an edited picture (and the copy) open, or "NONE" when
// the title is not one of its own. Captures asked for on the command line
// use the same socket (capture_channel.h). Plain POSIX, usable before Qt
// starts.
#pragma once

#include <optional>
#include <string>

namespace vistrel {

// $XDG_RUNTIME_DIR, else a private /tmp/vistrel-pro-<uid> folder (mode 0700).
std::string RuntimeFolder();

// The close-request socket of this user and X display.
std::string CloseRequestSocketPath();

enum class TCloseReply {
  None,    // no running copy has that title (or it did not answer in time)
  Closed,  // the copy has run its exit sequence
  Kept,    // the user kept an edited picture: the copy runs on
};

// Sends a close request for `title` to a running copy and waits until it has
// run its exit sequence or was kept running. `timeout_ms` bounds the wait,
// so a copy that hangs cannot hang this one.
TCloseReply SendCloseRequest(const std::string& title, int timeout_ms = 30000);

// The client side of the socket, for close and capture requests: the
// connected socket, or -1 when no copy listens.
int ConnectToRunningCopy();
bool SendLine(int fd, const std::string& line);
// The next line from `fd` without its line break, using and keeping what
// was read beyond it in `buffer`; nothing at the end of the stream, after
// `timeout_ms` (negative: no limit), or when no line break comes. `fd` may
// be a socket or a pipe.
std::optional<std::string> ReadLine(int fd, std::string& buffer, int timeout_ms);

// The single-instance guard.
class InstanceGuard {
 public:
  InstanceGuard() = default;
  ~InstanceGuard() { Release(); }
  InstanceGuard(const InstanceGuard&) = delete;
  InstanceGuard& operator=(const InstanceGuard&) = delete;

  // False when another process holds the guard, or it cannot be created.
  // With `wait_ms` above zero a held guard is tried again until that
  // deadline: a copy that has answered a close request lets go of it a
  // moment after its reply.
  bool Acquire(const std::string& name = "Vistrel_pro", int wait_ms = 0);
  void Release();

 private:
  int fd_ = -1;
};

}  // namespace vistrel
