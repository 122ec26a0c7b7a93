#include "op_args.h"

#include <charconv>
#include <cmath>

namespace vistrel {

namespace {

bool ParseOne(const TArgSpec& spec, std::string_view text, double& value, std::string& error) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  switch (spec.kind) {
    case TArgKind::Integer: {
      long long v = 0;
      const auto [p, ec] = std::from_chars(begin, end, v);
      if (ec != std::errc() || p != end || text.empty()) {
        error = std::string(spec.name) + " must be a whole number, not \"" + std::string(text) + "\"";
        return false;
      }
      value = double(v);
      return true;
    }
    case TArgKind::Number: {
      double v = 0;
      const auto [p, ec] = std::from_chars(begin, end, v);
      if (ec != std::errc() || p != end || text.empty() || !std::isfinite(v)) {
        error = std::string(spec.name) + " must be a number, not \"" + std::string(text) + "\"";
        return false;
      }
      value = v;
      return true;
    }
    case TArgKind::Color: {
      unsigned v = 0;
      const auto [p, ec] = std::from_chars(begin, end, v, 16);
      if (text.size() != 6 || ec != std::errc() || p != end) {
        error = std::string(spec.name) + " must be a colour RRGGBB, not \"" + std::string(text) + "\"";
        return false;
      }
      value = double(MakeColor(std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)));
      return true;
    }
    case TArgKind::Filter: {
      const auto filter = ResampleFilterByName(text);
      if (!filter) {
        error = "unknown filter \"" + std::string(text) + "\"";
        return false;
      }
      value = double(int(*filter));
      return true;
    }
  }
  return false;
}

bool InRange(const TArgSpec& spec, double v) {
  if (!std::isfinite(v)) return false;
  if (spec.kind == TArgKind::Color) return v == -1 || (v >= 0 && v <= 0xFFFFFF && v == std::floor(v));
  if (spec.kind != TArgKind::Number && v != std::floor(v)) return false;
  return v >= spec.min && v <= spec.max;
}

}  // namespace

bool ParseArgs(std::span<const TArgSpec> specs, std::string_view text, TOpArgs& args, std::string& error) {
  args.values.clear();
  std::vector<std::string_view> parts;
  if (!text.empty()) {
    std::size_t start = 0;
    while (true) {
      const std::size_t comma = text.find(',', start);
      parts.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
  }
  if (parts.size() > specs.size()) {
    error = "too many arguments (expected " + (specs.empty() ? std::string("none") : ArgsUsage(specs)) + ")";
    return false;
  }
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const TArgSpec& spec = specs[i];
    double v = 0;
    if (i < parts.size()) {
      if (!ParseOne(spec, parts[i], v, error)) return false;
    } else if (spec.fallback) {
      v = *spec.fallback;
    } else {
      error = "missing " + std::string(spec.name) + " (expected " + ArgsUsage(specs) + ")";
      return false;
    }
    if (!InRange(spec, v)) {
      error = std::string(spec.name) + " out of range " + FormatNumber(spec.min) + ".." + FormatNumber(spec.max);
      return false;
    }
    args.values.push_back(v);
  }
  return true;
}

bool CompleteArgs(std::span<const TArgSpec> specs, TOpArgs& args) {
  if (args.values.size() > specs.size()) return false;
  for (std::size_t i = args.values.size(); i < specs.size(); ++i) {
    if (!specs[i].fallback) return false;
    args.values.push_back(*specs[i].fallback);
  }
  for (std::size_t i = 0; i < specs.size(); ++i)
    if (!InRange(specs[i], args.values[i])) return false;
  return true;
}

std::string FormatNumber(double value) {
  if (value == 0) value = 0;  // no "-0"
  char buf[32];
  const auto [p, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, p) : std::string("0");
}

std::string ArgsUsage(std::span<const TArgSpec> specs) {
  std::string out, tail;
  for (std::size_t i = 0; i < specs.size(); ++i) {
    const bool optional = specs[i].fallback.has_value();
    if (optional) {
      out += "[";
      tail += "]";
    }
    if (i > 0) out += ",";
    out += specs[i].name;
  }
  return out + tail;
}

}  // namespace vistrel
