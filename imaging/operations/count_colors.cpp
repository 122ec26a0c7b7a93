#include "count_colors.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace vistrel {

std::int64_t CountDistinctColors(const TPictureBitmap& picture, const TPictureRect& box) {
  if (picture.Empty()) return 0;
  if (picture.IsMono()) return 2;
  const TPictureRect r{std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, picture.Width() - 1),
                       std::min(box.bottom, picture.Height() - 1)};
  if (r.Empty()) return 0;
  // One bit per possible colour (2 MiB): exact, and faster than hashing.
  std::vector<std::uint64_t> seen(std::size_t(1) << 18, 0);
  for (int y = r.top; y <= r.bottom; ++y) {
    const std::uint8_t* p = picture.Row(y) + std::size_t(r.left) * 3;
    for (int x = r.left; x <= r.right; ++x, p += 3) {
      const std::uint32_t c = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
      seen[c >> 6] |= std::uint64_t(1) << (c & 63);
    }
  }
  std::int64_t count = 0;
  for (const std::uint64_t word : seen) count += std::popcount(word);
  return count;
}

}  // namespace vistrel
