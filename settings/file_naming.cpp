#include "settings/file_naming.h"

#include <sys/stat.h>

#include <cstdio>

namespace vistrel {

namespace {
bool FileExists(const std::string& path) {
  struct stat st{};
  return lstat(path.c_str(), &st) == 0;
}
}  // namespace

std::string FourDigitNumber(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.4d", n);
  return buf;
}

TPictureFileName NextPictureFileName(const std::string& folder, const TNamingRule& rule,
                                     const std::function<bool(const std::string&)>& exists) {
  const auto& test = exists ? exists : FileExists;
  if (!rule.numbering) return {folder + rule.base_name + "." + rule.extension, 0};
  // The numbers below INT32_MAX are plenty; a folder full to that point is
  // not a case to loop forever on.
  for (int n = 1; n > 0; ++n) {
    std::string path = folder + rule.base_name + FourDigitNumber(n) + "." + rule.extension;
    if (!test(path)) return {std::move(path), n};
  }
  return {folder + rule.base_name + "." + rule.extension, 0};
}

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace vistrel
