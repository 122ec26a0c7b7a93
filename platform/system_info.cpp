#include "platform/system_info.h"

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace vistrel {

TKernelVersion ParseKernelRelease(const std::string& release) {
  std::vector<std::string> numbers;
  std::size_t i = 0;
  while (i < release.size() && numbers.size() < 3 &&
         std::isdigit(static_cast<unsigned char>(release[i]))) {
    std::size_t j = i;
    while (j < release.size() && std::isdigit(static_cast<unsigned char>(release[j]))) ++j;
    numbers.push_back(release.substr(i, j - i));
    // Only "." continues the version: "6.1.0-18" stops at the dash.
    if (j >= release.size() || release[j] != '.') break;
    i = j + 1;
  }
  TKernelVersion v;
  if (numbers.size() > 0) v.major = numbers[0];
  if (numbers.size() > 1) v.minor = numbers[1];
  if (numbers.size() > 2) v.build = numbers[2];
  return v;
}

std::string PrettyNameFromOsRelease(const std::string& content) {
  std::istringstream in(content);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("PRETTY_NAME=", 0) != 0) continue;
    std::string value = line.substr(12);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return value;
  }
  return {};
}

TSystemInfo::TSystemInfo() {
  utsname u{};
  const bool have_uname = uname(&u) == 0;
  if (have_uname) version_ = ParseKernelRelease(u.release);
  for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
    std::ifstream in(path);
    if (!in) continue;
    std::stringstream ss;
    ss << in.rdbuf();
    platform_id_ = PrettyNameFromOsRelease(ss.str());
    if (!platform_id_.empty()) break;
  }
  if (platform_id_.empty()) platform_id_ = have_uname ? u.sysname : "Linux";
}

std::string TSystemInfo::NetworkUserName() const {
  std::vector<char> buf(16384);
  passwd pw{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_name &&
      *found->pw_name)
    return found->pw_name;
  return "Unknown";
}

std::string TemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = tmp && *tmp ? tmp : "/tmp";
  if (folder.size() > 260) folder = "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace vistrel
