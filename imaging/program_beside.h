// Where the program's own helper executables are: beside the running
// program in the build tree, in its libexec folder once installed.
#pragma once

#include <string>

namespace vistrel {

// The running executable's path, or nothing when it cannot be read.
std::string RunningExecutable();

// A helper executable installed beside the running program.
std::string ExecutableBesideProgram(const std::string& name);

// The program users start (bin/vistrel-pro). It runs its windowed part
// from its libexec folder and names itself in this variable, so that
// shortcuts and the installed documents are found from where it lies.
inline constexpr char kStartedProgramVariable[] = "VISTREL_PRO_PROGRAM";
std::string StartedProgramPath();

}  // namespace vistrel
