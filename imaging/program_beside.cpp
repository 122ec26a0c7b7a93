#include "imaging/program_beside.h"

#include <limits.h>
#include <unistd.h>

#include <cstdlib>

namespace vistrel {

std::string RunningExecutable() {
  char self[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  return n > 0 ? std::string(self, std::size_t(n)) : std::string();
}

std::string ExecutableBesideProgram(const std::string& name) {
  const std::string path = RunningExecutable();
  if (path.empty()) return name;
  const std::string folder = path.substr(0, path.find_last_of('/') + 1);
  // The build tree keeps helpers beside the programs; an installed program
  // finds them in its libexec folder.
  const std::string installed = folder + "../libexec/vistrel-pro/" + name;
  if (::access((folder + name).c_str(), X_OK) != 0 && ::access(installed.c_str(), X_OK) == 0)
    return installed;
  return folder + name;
}

std::string StartedProgramPath() {
  const char* started = std::getenv(kStartedProgramVariable);
  return started && *started == '/' ? std::string(started) : RunningExecutable();
}

}  // namespace vistrel
