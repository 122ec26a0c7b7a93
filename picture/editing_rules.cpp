#include "picture/editing_rules.h"

#include <charconv>

namespace vistrel {

TResampleFilter PresetFilter(bool quality_zoom, TResampleFilter chosen) {
  return quality_zoom ? chosen : TResampleFilter::rfNone;
}

std::string UndoCaption(int depth) {
  return depth > 0 ? "Undo (" + std::to_string(depth) + ")" : "Undo";
}

std::optional<int> PenWidthFromAnswer(std::string_view answer) {
  // Blanks around the number are allowed, as an input box's user expects.
  while (!answer.empty() && answer.front() == ' ') answer.remove_prefix(1);
  while (!answer.empty() && answer.back() == ' ') answer.remove_suffix(1);
  if (answer.size() > 1 && answer.front() == '+' && answer[1] != '-') answer.remove_prefix(1);
  long long value = 0;
  const char* end = answer.data() + answer.size();
  const auto [ptr, ec] = std::from_chars(answer.data(), end, value);
  if (answer.empty() || ptr != end) return std::nullopt;
  // Too long to hold is still a whole number, and out of range.
  if (ec == std::errc::result_out_of_range) return kDefaultPenWidth;
  if (ec != std::errc()) return std::nullopt;
  return value >= 1 && value <= 10 ? int(value) : kDefaultPenWidth;
}

}  // namespace vistrel
