#include "convert_options.h"

#include <charconv>
#include <cmath>

#include "imaging/formats/picture_file.h"

namespace vistrel {

namespace {

// "a,b,c,d" as four numbers; integers only when `whole`.
bool ParseFour(std::string_view text, bool whole, double (&out)[4]) {
  for (int i = 0; i < 4; ++i) {
    const std::size_t comma = text.find(',');
    const std::string_view part = text.substr(0, comma);
    if ((comma == std::string_view::npos) != (i == 3)) return false;
    const char* end = part.data() + part.size();
    if (whole) {
      int v = 0;
      const auto [p, ec] = std::from_chars(part.data(), end, v);
      if (ec != std::errc() || p != end || part.empty()) return false;
      out[i] = v;
    } else {
      double v = 0;
      const auto [p, ec] = std::from_chars(part.data(), end, v);
      if (ec != std::errc() || p != end || part.empty() || !std::isfinite(v)) return false;
      out[i] = v;
    }
    if (comma != std::string_view::npos) text.remove_prefix(comma + 1);
  }
  return true;
}

bool ParseOp(std::string_view text, TConvertOp& step, std::string& error) {
  const std::size_t eq = text.find('=');
  const std::string_view name = text.substr(0, eq);
  step.op = FindOperation(name);
  if (!step.op) {
    error = "unknown operation \"" + std::string(name) + "\"";
    return false;
  }
  const std::string_view args = eq == std::string_view::npos ? std::string_view() : text.substr(eq + 1);
  if (!ParseArgs(step.op->args, args, step.args, error)) {
    error = std::string(name) + ": " + error;
    return false;
  }
  return true;
}

}  // namespace

bool ParseConvertOptions(const std::vector<std::string>& args, TConvertOptions& options, std::string& error) {
  std::vector<std::string> files;
  TIOParams scratch;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string v;
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--info") {
      options.info = true;
    } else if (arg == "--op") {
      if (!value(v)) return false;
      TConvertOp step;
      if (!ParseOp(v, step, error)) return false;
      options.steps.emplace_back(std::move(step));
    } else if (arg == "--select") {
      if (!value(v)) return false;
      double n[4];
      if (!ParseFour(v, true, n)) {
        error = "--select needs L,T,R,B in whole pixels, not \"" + v + "\"";
        return false;
      }
      options.steps.emplace_back(TConvertSelectRect{int(n[0]), int(n[1]), int(n[2]), int(n[3])});
    } else if (arg == "--select-ellipse") {
      if (!value(v)) return false;
      double n[4];
      if (!ParseFour(v, false, n)) {
        error = "--select-ellipse needs CX,CY,RX,RY, not \"" + v + "\"";
        return false;
      }
      options.steps.emplace_back(TConvertSelectEllipse{n[0], n[1], n[2], n[3]});
    } else if (arg == "--set") {
      if (!value(v)) return false;
      const std::size_t eq = v.find('=');
      if (eq == std::string::npos) {
        error = "--set needs NAME=VALUE, not \"" + v + "\"";
        return false;
      }
      std::string name = v.substr(0, eq), setting = v.substr(eq + 1);
      if (!SetWriterParameter(scratch, name, setting)) {
        error = "unknown writer parameter or bad value: " + v;
        return false;
      }
      options.writer_settings.emplace_back(std::move(name), std::move(setting));
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      error = "unknown option " + arg;
      return false;
    } else {
      files.push_back(arg);
    }
  }
  if (options.help || options.version) return true;
  if (files.size() != 2) {
    error = files.size() < 2 ? "INPUT and OUTPUT are needed" : "only one INPUT and one OUTPUT";
    return false;
  }
  options.input = files[0];
  options.output = files[1];
  return true;
}

std::string ConvertUsage() {
  std::string text =
      "Usage: vistrel-convert [OPTIONS] INPUT OUTPUT\n"
      "Loads a picture, runs processing operations on it and writes it.\n"
      "\n"
      "  --op NAME[=ARG,...]    run an operation; repeatable, in order\n"
      "  --select L,T,R,B       rectangle selection (picture pixels, right and bottom\n"
      "                         inclusive) for the operations after it\n"
      "  --select-ellipse CX,CY,RX,RY\n"
      "                         elliptical selection for the operations after it\n"
      "  --set NAME=VALUE       a writer parameter (names below)\n"
      "  --info                 print \"WIDTH HEIGHT BITS COLOURS\" of the result\n"
      "  --help                 this text\n"
      "  --version              the program's name and version\n"
      "OUTPUT \"-\" writes nothing. Exit 0 done, 1 input or output failed, 2 wrong usage.\n"
      "\n"
      "Operations (colours are RRGGBB in hexadecimal; FILTER is none, triangle,\n"
      "hermite, bell, bspline, lanczos3 or mitchell; AA is 0 or 1):\n";
  for (const TOperation& op : Operations()) {
    text += "  " + std::string(op.name);
    if (!op.args.empty()) text += "=" + ArgsUsage(op.args);
    text += "\n";
  }
  text += "CountColors prints the number of colours of the selection's box (or the\n"
          "whole picture). A selection ends when an operation changes the picture's size.\n";
  text += "\nWriter parameters:\n";
  const std::string help = WriterParameterHelp();
  std::size_t start = 0;
  while (start < help.size()) {
    const std::size_t end = help.find('\n', start);
    text += "  " + help.substr(start, end == std::string::npos ? std::string::npos : end - start) + "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return text;
}

}  // namespace vistrel
