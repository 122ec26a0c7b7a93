#include "capture/rect_size_rules.h"

namespace vistrel {

bool CustomSizeAccepted(int value, int visible_extent) { return value > 15 && value <= visible_extent - 4; }

std::optional<TCustomSize> MaxCustomSize(int visible_width, int visible_height) {
  const TCustomSize size{visible_width - 4, visible_height - 4};
  if (!CustomSizeAccepted(size.width, visible_width) || !CustomSizeAccepted(size.height, visible_height))
    return std::nullopt;
  return size;
}

std::optional<int> FieldValue(const std::string& text) {
  // The fields take at most five digits, so the number always fits.
  int value = 0;
  bool any = false;
  for (char ch : text) {
    if (ch == ' ') continue;  // the mask's blank
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + (ch - '0');
    any = true;
  }
  if (!any) return std::nullopt;
  return value;
}

}  // namespace vistrel
