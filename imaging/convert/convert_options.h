// The command line of vistrel-convert:
//
//   vistrel-convert [OPTIONS] INPUT OUTPUT
//     --op NAME[=ARG,...]  --select L,T,R,B  --select-ellipse CX,CY,RX,RY
//     --set NAME=VALUE     --info            --help    --version
#pragma once

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "imaging/operation_table.h"

namespace vistrel {

struct TConvertOp {
  const TOperation* op;
  TOpArgs args;
};
struct TConvertSelectRect {
  int left, top, right, bottom;
};
struct TConvertSelectEllipse {
  double cx, cy, rx, ry;
};
// Steps run in command-line order; a selection holds for the operations
// after it.
using TConvertStep = std::variant<TConvertOp, TConvertSelectRect, TConvertSelectEllipse>;

struct TConvertOptions {
  std::vector<TConvertStep> steps;
  std::vector<std::pair<std::string, std::string>> writer_settings;  // --set, in order
  bool info = false;
  bool help = false;
  bool version = false;
  std::string input;
  std::string output;  // "-": write nothing
};

// Parses argv[1..]. Returns false for wrong usage, with the reason in
// `error`. Writer parameter names and values are checked here already.
bool ParseConvertOptions(const std::vector<std::string>& args, TConvertOptions& options, std::string& error);

// The --help text.
std::string ConvertUsage();

}  // namespace vistrel
