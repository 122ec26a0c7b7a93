// The size rules of the custom rectangle dialog.
#pragma once

#include <optional>
#include <string>

namespace vistrel {

// A width or height the dialog accepts: more than 15 and at most the
// visible extent less 4.
bool CustomSizeAccepted(int value, int visible_extent);

// "Max": the visible extent less 4 on both axes, when both are sizes the
// fields accept; nothing otherwise (a view too small for any).
struct TCustomSize {
  int width = 0;
  int height = 0;
  bool operator==(const TCustomSize&) const = default;
};
std::optional<TCustomSize> MaxCustomSize(int visible_width, int visible_height);

// The digits of a field as a number; nothing for an empty field.
std::optional<int> FieldValue(const std::string& text);

}  // namespace vistrel
