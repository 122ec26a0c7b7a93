// Timing helpers of the grab benchmarks: medians of repeated runs, and
// running a peer program to its end.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace bench {

inline double MedianMs(int rounds, const std::function<bool()>& run) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const auto start = Clock::now();
    if (!run()) return -1;
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Runs a grabber to its end, its standard output (when `quiet_stdout`) and
// error thrown away; false when it failed or is not installed.
inline bool RunTool(const std::vector<std::string>& argv, bool quiet_stdout = false) {
  const pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    if (quiet_stdout) dup2(null, 1);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace bench
