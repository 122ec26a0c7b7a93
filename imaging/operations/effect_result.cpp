#include "imaging/operations/effect_result.h"

#include <charconv>
#include <vector>

#include "imaging/operations/picture_area.h"

namespace vistrel {

void WriteEffectResult(TPictureBitmap& picture, const TPictureMask* mask, TPictureBitmap result) {
  if (result.Empty() || result.Format() != picture.Format()) return;
  const bool whole = !mask || mask->Empty() ||
                     (mask->BoundingBox().Width() == picture.Width() && mask->BoundingBox().Height() == picture.Height());
  if (whole) {
    result.SetDpi(picture.DpiX(), picture.DpiY());
    picture = std::move(result);
    return;
  }
  // PasteThroughMask copies no more than both the box and the result hold.
  PasteThroughMask(picture, result, *mask);
}

std::optional<TUserFilter> ParseUserFilter(std::string_view text) {
  std::vector<int> values;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ' || c == ',' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (ec != std::errc() || value < -kMaxKernelValue || value > kMaxKernelValue) return std::nullopt;
    values.push_back(value);
    i = std::size_t(end - text.data());
  }
  if (values.size() != 10) return std::nullopt;
  TUserFilter filter;
  for (std::size_t k = 0; k < 9; ++k) filter.kernel[k] = values[k];
  filter.divisor = values[9];
  return filter;
}

std::string FormatUserFilter(const TUserFilter& filter) {
  std::string text;
  for (std::size_t k = 0; k < 9; ++k) text += std::to_string(filter.kernel[k]) + (k % 3 == 2 ? "\n" : " ");
  return text + std::to_string(filter.divisor) + "\n";
}

}  // namespace vistrel
