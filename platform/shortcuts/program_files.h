// Files that come with the program (the help document, the icon): beside it
// in the build tree, in the installed layout's share/ folders otherwise.
#pragma once

#include <string>
#include <string_view>

namespace vistrel {

struct TProgramFile {
  std::string path;
  bool found = false;
};

// `name` beside the program when it is there, else below
// program_folder/from_bin. Neither found: the installed path, not found.
TProgramFile FindProgramFile(const std::string& program_folder, std::string_view from_bin,
                             std::string_view name);

}  // namespace vistrel
