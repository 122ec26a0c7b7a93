#include "picture/MainFormStatusTexts.h"

#include <algorithm>
#include <cstdio>

namespace vistrel {

std::string PictureInfoText(int width, int height, std::int64_t colours) {
  return " Picture Width: " + std::to_string(width) + " , Height: " + std::to_string(height) +
         " , Number of Colors: " + std::to_string(colours);
}

std::string SelectionSizeText(int left, int top, int right, int bottom) {
  return " Selection Width:" + std::to_string(right - left) + " , Height:" +
         std::to_string(bottom - top);
}

std::string PointerSelectionText(int x, int y, int left, int top, int right, int bottom) {
  return " ( X: " + std::to_string(x) + ", Y: " + std::to_string(y) + " )" +
         SelectionSizeText(left, top, right, bottom);
}

std::string ColorText(std::int64_t color) {
  // The colour travels as a signed 32-bit value; -1 means "no pixel".
  const auto c = std::int32_t(std::uint32_t(color));
  const auto bits = std::uint32_t(c);
  char hex[16];
  std::snprintf(hex, sizeof hex, "%06X", unsigned(bits));
  return "Color = " + std::to_string(c) + ", $" + hex + "  RGB = " + std::to_string(bits & 255) +
         "," + std::to_string((bits >> 8) & 255) + "," + std::to_string((bits >> 16) & 255);
}

TProgressCursor ProgressCursorFor(int percent) {
  if (percent >= kProgressEnd) return TProgressCursor::Default;
  const int p = std::max(percent, 0);
  // 0..10 is the first band, then every ten: 11..20, 21..30, ...
  const int band = p == 0 ? 0 : (p - 1) / 10;
  return band % 2 == 0 ? TProgressCursor::Wait : TProgressCursor::NotAllowed;
}

}  // namespace vistrel
