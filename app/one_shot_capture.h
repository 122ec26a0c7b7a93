// A command-line capture when no copy of the program runs: this process
// captures and ends, without tray, hotkeys or a settings write of its own.
#pragma once

#include <string>
#include <vector>

namespace vistrel {

// Carries out the capture that `args` ask for (the arguments of
// `vistrel-pro --capture ...`, paths absolute) and writes the reply line
// (capture_channel.h) to `report_fd`. A picture put on the clipboard lives
// in this process: it stays, detached from the terminal, until another
// program takes the clipboard. Returns the exit code.
int RunOneShotCapture(int argc, char** argv, const std::vector<std::string>& args, int report_fd);

// How the launcher asks the windowed program for a one-shot capture:
// vistrel-pro-gui --one-shot-capture FD ARGUMENTS...
inline constexpr char kOneShotSwitch[] = "--one-shot-capture";

}  // namespace vistrel
