// Programs the X tests start: each is stopped (and waited for) when its
// handle goes away. Waits have deadlines; nothing sleeps a fixed time.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace vistrel::testing {

class ChildProcess {
 public:
  ChildProcess() = default;
  // Starts `argv` with DISPLAY set to `display` (unless empty); stdout and
  // stderr go to /dev/null. `keep_fd` stays open in the child.
  ChildProcess(const std::vector<std::string>& argv, const std::string& display,
               int keep_fd = -1);
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ~ChildProcess();

  bool Running();
  // Exit code, or -1 when it did not end before the deadline (it is then killed).
  int Wait(std::chrono::milliseconds deadline);
  void Stop();
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

// Runs a command to its end; -1 when it did not finish in time.
int RunCommand(const std::vector<std::string>& argv, const std::string& display,
               std::chrono::milliseconds deadline = std::chrono::seconds(20));

// Runs a command and returns what it printed on stdout.
std::string CommandOutput(const std::vector<std::string>& argv, const std::string& display);

// Polls `condition` until it holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = std::chrono::seconds(20));

}  // namespace vistrel::testing
