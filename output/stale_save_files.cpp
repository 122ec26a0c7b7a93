#include "output/stale_save_files.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "imaging/formats/picture_file.h"

namespace vistrel {

namespace {

bool AllDigits(const std::string& text) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

bool ProcessRuns(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

bool IsSaveTempName(const std::string& name, pid_t* pid) {
  static const std::string kSuffix = ".tmp";
  if (name.size() <= 1 + kSuffix.size() || name[0] != '.' ||
      name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
    return false;
  const std::string stem = name.substr(1, name.size() - 1 - kSuffix.size());  // <name>.<pid>-<n>
  const std::size_t dot = stem.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string tag = stem.substr(dot + 1);
  const std::size_t dash = tag.find('-');
  if (dash == std::string::npos || !AllDigits(tag.substr(0, dash)) || !AllDigits(tag.substr(dash + 1)))
    return false;
  // Only pictures the program writes: their name has a picture extension.
  const std::string picture = stem.substr(0, dot);
  if (picture.empty() || !CanSavePictureFile(picture)) return false;
  if (pid) *pid = pid_t(std::stol(tag.substr(0, dash)));
  return true;
}

std::vector<std::string> RemoveStaleSaveFiles(const std::vector<std::string>& folders) {
  std::vector<std::string> removed;
  const uid_t user = ::geteuid();
  for (std::string folder : folders) {
    if (folder.empty()) continue;
    if (folder.back() != '/') folder += '/';
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) continue;
    while (const dirent* entry = ::readdir(dir.get())) {
      pid_t pid = 0;
      if (!IsSaveTempName(entry->d_name, &pid) || ProcessRuns(pid)) continue;
      const std::string path = folder + entry->d_name;
      struct stat st{};
      if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != user) continue;
      if (::unlink(path.c_str()) == 0) removed.push_back(path);
    }
  }
  return removed;
}

}  // namespace vistrel
