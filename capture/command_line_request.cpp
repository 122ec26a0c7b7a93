#include "capture/command_line_request.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace vistrel {

namespace {

// An hour is plenty for a command-line delay and keeps the number sane.
constexpr int kMaxDelaySeconds = 3600;
constexpr int kMaxMonitor = 64;

std::optional<TCaptureArea> AreaNamed(const std::string& name) {
  static const std::pair<const char*, TCaptureArea> kNames[] = {
      {"desktop", TCaptureArea::Desktop}, {"monitor", TCaptureArea::Monitor},
      {"window", TCaptureArea::Window},   {"client", TCaptureArea::ClientArea},
      {"area", TCaptureArea::Area},       {"object", TCaptureArea::Object},
      {"custom", TCaptureArea::Custom},
  };
  for (const auto& [text, area] : kNames)
    if (name == text) return area;
  return std::nullopt;
}

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
    return std::nullopt;
  return value;
}

TCommandLineRequest Fail(std::string message) { return {std::nullopt, std::move(message)}; }

}  // namespace

bool AsksForCapture(const std::vector<std::string>& args) {
  return std::find(args.begin(), args.end(), "--capture") != args.end();
}

TCommandLineRequest ParseCaptureArguments(const std::vector<std::string>& args) {
  TCaptureRequest request;
  request.caller_hears_outcome = true;
  std::vector<std::string> seen;
  std::optional<int> monitor;
  bool has_mode = false;

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // --cursor and --no-cursor fix the same switch, so they count as one.
    // Likewise --output and --output-dir.
    std::string slot = arg;
    if (arg == "--no-cursor") slot = "--cursor";
    if (arg == "--output-dir") slot = "--output";
    const bool known = arg == "--capture" || arg == "--monitor" || arg == "--delay" ||
                       arg == "--cursor" || arg == "--no-cursor" || arg == "--output" ||
                       arg == "--output-dir" || arg == "--clipboard" || arg == "--print" ||
                       arg == "--show";
    if (!known) return Fail("unknown argument \"" + arg + "\"");
    if (std::find(seen.begin(), seen.end(), slot) != seen.end())
      return Fail("\"" + arg + "\" conflicts with an earlier argument");
    seen.push_back(slot);

    const bool takes_value = arg == "--capture" || arg == "--monitor" || arg == "--delay" ||
                             arg == "--output" || arg == "--output-dir";
    if (takes_value && i + 1 == args.size()) return Fail("\"" + arg + "\" needs a value");
    const std::string value = takes_value ? args[++i] : std::string();

    if (arg == "--capture") {
      auto area = AreaNamed(value);
      if (!area)
        return Fail("\"" + value +
                    "\" is not a capture mode (desktop, monitor, window, client, area, object, custom)");
      request.area = *area;
      has_mode = true;
    } else if (arg == "--monitor") {
      monitor = WholeNumber(value, 1, kMaxMonitor);
      if (!monitor) return Fail("\"--monitor " + value + "\": the monitor number must be 1 or more");
    } else if (arg == "--delay") {
      auto delay = WholeNumber(value, 0, kMaxDelaySeconds);
      if (!delay)
        return Fail("\"--delay " + value + "\": the delay must be whole seconds from 0 to " +
                    std::to_string(kMaxDelaySeconds));
      request.delay_seconds = *delay;
    } else if (arg == "--cursor" || arg == "--no-cursor") {
      request.cursor = arg == "--cursor" ? TAsSet::On : TAsSet::Off;
    } else if (arg == "--output" || arg == "--output-dir") {
      if (value.empty()) return Fail("\"" + arg + "\" needs a non-empty value");
      TSaveTarget target;
      (arg == "--output" ? target.path : target.folder) = value;
      request.save = target;
    } else if (arg == "--clipboard") {
      request.clipboard = true;
    } else if (arg == "--print") {
      request.print = true;
    } else {
      request.show = true;
    }
  }

  if (!has_mode) return Fail("\"--capture\" is missing");
  if (monitor) {
    if (request.area == TCaptureArea::Desktop) request.area = TCaptureArea::Monitor;
    if (request.area != TCaptureArea::Monitor)
      return Fail("\"--monitor\" goes only with \"--capture monitor\" or \"--capture desktop\"");
    request.monitor = *monitor;
  } else if (request.area == TCaptureArea::Monitor) {
    return Fail("\"--capture monitor\" needs \"--monitor N\"");
  }
  return {request, {}};
}

}  // namespace vistrel
