// Which pixels of a picture are selected.
//
// The mask covers a whole picture but only stores the pixels of its bounding
// box, one byte each, so a small selection on a large capture stays cheap and
// operations can walk the box row by row.
#pragma once

#include <cstdint>
#include <vector>

namespace vistrel {

// A box of picture pixels; right and bottom are inclusive.
struct TPictureRect {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;

  bool Empty() const { return right < left || bottom < top; }
  int Width() const { return Empty() ? 0 : right - left + 1; }
  int Height() const { return Empty() ? 0 : bottom - top + 1; }
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
  bool operator==(const TPictureRect&) const = default;
};

class TPictureMask {
 public:
  TPictureMask() = default;
  // An empty mask over a picture of this size (negative sizes count as 0).
  TPictureMask(int pictureWidth, int pictureHeight);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // True when no pixel is selected.
  bool Empty() const { return box_.Empty(); }
  // Smallest box holding every selected pixel; empty when none is.
  const TPictureRect& BoundingBox() const { return box_; }

  bool Inside(int x, int y) const {
    return box_.Contains(x, y) &&
           bits_[std::size_t(y - box_.top) * std::size_t(box_.Width()) + std::size_t(x - box_.left)] != 0;
  }
  // Row y of the bounding box, one byte a pixel (non-zero = selected),
  // starting at BoundingBox().left. y must lie inside the box.
  const std::uint8_t* BoxRow(int y) const {
    return bits_.data() + std::size_t(y - box_.top) * std::size_t(box_.Width());
  }
  std::size_t SelectedCount() const;

  // Building: reserve the area first (clipped to the picture), then mark
  // pixels inside it, then Shrink to the marked pixels.
  void Reserve(const TPictureRect& area);
  void Set(int x, int y);
  void SetSpan(int y, int x0, int x1);  // x0..x1 inclusive, clipped to the area
  void Shrink();

  bool operator==(const TPictureMask&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  TPictureRect box_;
  std::vector<std::uint8_t> bits_;
};

}  // namespace vistrel
