#include "picture_mask.h"

#include <algorithm>

namespace vistrel {

TPictureMask::TPictureMask(int pictureWidth, int pictureHeight)
    : width_(std::max(0, pictureWidth)), height_(std::max(0, pictureHeight)) {
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
}

std::size_t TPictureMask::SelectedCount() const {
  return std::size_t(std::count_if(bits_.begin(), bits_.end(), [](std::uint8_t b) { return b != 0; }));
}

void TPictureMask::Reserve(const TPictureRect& area) {
  TPictureRect box{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, width_ - 1),
                   std::min(area.bottom, height_ - 1)};
  if (box.Empty()) box = TPictureRect{};
  box_ = box;
  bits_.assign(std::size_t(box_.Width()) * std::size_t(box_.Height()), 0);
}

void TPictureMask::Set(int x, int y) {
  if (box_.Contains(x, y))
    bits_[std::size_t(y - box_.top) * std::size_t(box_.Width()) + std::size_t(x - box_.left)] = 1;
}

void TPictureMask::SetSpan(int y, int x0, int x1) {
  if (y < box_.top || y > box_.bottom) return;
  x0 = std::max(x0, box_.left);
  x1 = std::min(x1, box_.right);
  if (x1 < x0) return;
  std::uint8_t* row = bits_.data() + std::size_t(y - box_.top) * std::size_t(box_.Width());
  std::fill(row + (x0 - box_.left), row + (x1 - box_.left) + 1, std::uint8_t(1));
}

void TPictureMask::Shrink() {
  TPictureRect used{box_.right + 1, box_.bottom + 1, box_.left - 1, box_.top - 1};
  const int w = box_.Width();
  for (int y = box_.top; y <= box_.bottom; ++y) {
    const std::uint8_t* row = BoxRow(y);
    const std::uint8_t* first = std::find(row, row + w, std::uint8_t(1));
    if (first == row + w) continue;
    const int x0 = box_.left + int(first - row);
    int x1 = box_.left + w - 1;
    while (row[x1 - box_.left] == 0) --x1;
    used.left = std::min(used.left, x0);
    used.right = std::max(used.right, x1);
    used.top = std::min(used.top, y);
    used.bottom = std::max(used.bottom, y);
  }
  if (used.Empty()) {
    box_ = TPictureRect{};
    bits_.clear();
    return;
  }
  if (used == box_) return;
  std::vector<std::uint8_t> bits(std::size_t(used.Width()) * std::size_t(used.Height()));
  for (int y = used.top; y <= used.bottom; ++y)
    std::copy_n(BoxRow(y) + (used.left - box_.left), used.Width(),
                bits.begin() + std::ptrdiff_t(y - used.top) * used.Width());
  bits_.swap(bits);
  box_ = used;
}

}  // namespace vistrel
