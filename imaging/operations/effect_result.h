// Writing the effects dialog's result back into the picture, and the user
// filter files of its "User filter" page.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "imaging/operations/convolution.h"
#include "imaging/picture_bitmap.h"
#include "imaging/picture_mask.h"

namespace vistrel {

// Without a selection (mask nullptr), or with one whose box is the whole
// picture, the result replaces the picture, size included. Otherwise the
// result goes into the selection's box through the mask from the box's
// top-left corner; a result of another size (a turned or grown picture) is
// cut to the box, and box pixels it does not reach keep their values.
void WriteEffectResult(TPictureBitmap& picture, const TPictureMask* mask, TPictureBitmap result);

struct TUserFilter {
  TKernel3 kernel{0, 0, 0, 0, 1, 0, 0, 0, 0};
  int divisor = 1;
  bool operator==(const TUserFilter&) const = default;
};

// A user filter file: nine kernel values (top row first) and the divisor,
// whole numbers separated by blanks, commas or line breaks. nullopt when the
// text is not that or a value lies beyond +-kMaxKernelValue.
std::optional<TUserFilter> ParseUserFilter(std::string_view text);
// Three kernel rows and the divisor, one per line.
std::string FormatUserFilter(const TUserFilter& filter);

}  // namespace vistrel
