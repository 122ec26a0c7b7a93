#include "platform/shortcuts/program_files.h"

#include <filesystem>
#include <system_error>

namespace vistrel {

namespace {

namespace fs = std::filesystem;

bool IsFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace

TProgramFile FindProgramFile(const std::string& program_folder, std::string_view from_bin,
                             std::string_view name) {
  const fs::path folder(program_folder);
  const fs::path beside = folder / name;
  if (IsFile(beside)) return {beside.string(), true};
  const fs::path installed = (folder / from_bin / name).lexically_normal();
  return {installed.string(), IsFile(installed)};
}

}  // namespace vistrel
