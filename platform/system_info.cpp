#include "platform/system_info.h"

#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
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

namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  std::vector<char> buf(16384);
  passwd pw{};
  passwd* found = nullptr;
  if (getpwuid_r(geteuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir)
    return found->pw_dir;
  return "/";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::string PicturesDirFromUserDirs(const std::string& content, const std::string& home) {
  std::istringstream lines(content);
  std::string line;
  std::string found;
  while (std::getline(lines, line)) {
    const std::string key = "XDG_PICTURES_DIR=";
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back())))
      value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/'))
      value = home + value.substr(5);
    if (value.empty() || value.front() != '/') continue;
    found = value;  // the last assignment wins, as in the shell
  }
  return found;
}

std::string PicturesFolder() {
  const std::string home = HomeFolder();
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string config_home = config && *config ? config : home + "/.config";
  std::string folder = PicturesDirFromUserDirs(ReadFile(config_home + "/user-dirs.dirs"), home);
  if (folder.empty()) folder = home + "/Pictures";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    const std::filesystem::path parent = std::filesystem::path(folder).parent_path();
    std::filesystem::create_directories(parent, error);
    if (::mkdir(folder.c_str(), 0700) != 0 && !std::filesystem::is_directory(folder, error))
      return TemporaryFolder();
  }
  return folder + "/";
}

}  // namespace vistrel
