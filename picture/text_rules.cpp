#include "picture/text_rules.h"

#include <cstdint>
#include <cstdio>

namespace vistrel {

namespace {
constexpr TFontStyle kStoredStyles[] = {
    {}, {true, false, false, false}, {false, true, false, false},
    {false, false, true, false}, {false, false, false, true}, {true, true, false, false},
};
}  // namespace

std::optional<TFontStyle> FontStyleFromStored(int stored) {
  if (stored < 0 || stored >= int(std::size(kStoredStyles))) return std::nullopt;
  return kStoredStyles[stored];
}

std::optional<int> StoredFontStyle(const TFontStyle& style) {
  for (int i = 0; i < int(std::size(kStoredStyles)); ++i)
    if (kStoredStyles[i] == style) return i;
  return std::nullopt;
}

std::string DateTimeText(const std::tm& local, std::string_view weekday, std::string_view month) {
  int hour = local.tm_hour % 12;
  if (hour == 0) hour = 12;
  char clock[64];
  std::snprintf(clock, sizeof clock, " %02d, %04d  %02d:%02d:%02d %s", local.tm_mday, local.tm_year + 1900, hour,
                local.tm_min, local.tm_sec, local.tm_hour < 12 ? "AM" : "PM");
  return std::string(weekday) + ", " + std::string(month) + clock;
}

std::vector<std::string> LinesOfUserText(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 2);
  }
  return lines;
}

std::string UserTextOfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::array<std::string, kTextLineCount> TextBufferOfLines(const std::vector<std::string>& lines) {
  std::array<std::string, kTextLineCount> buffer;
  for (std::size_t i = 0; i < buffer.size() && i < lines.size(); ++i) buffer[i] = lines[i];
  return buffer;
}

int ScreenPixelsOfPoints(int points) { return int((std::int64_t(points) * 96 * 2 + 72) / 144); }

}  // namespace vistrel
