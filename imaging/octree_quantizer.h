// Octree colour reduction for printing: the picture's colours go into a
// tree that separates them by the top `color_bits` bits of each channel;
// whenever it holds more leaves than allowed, the most recently created
// inner node of the deepest level that has one merges its children. The
// leaves, in depth-first order, give the colour table.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/picture_bitmap.h"

namespace vistrel {

struct TOctreeNode {
  bool leaf = false;
  // Sums in 64 bits: a large white area of a big picture overflows 32.
  std::int64_t pixel_count = 0;
  std::int64_t red_sum = 0, green_sum = 0, blue_sum = 0;
  TOctreeNode* next_reducible = nullptr;
  std::array<std::unique_ptr<TOctreeNode>, 8> children;
};

// One colour table entry as a DIB holds it.
struct TRgbQuad {
  std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  bool operator==(const TRgbQuad&) const = default;
};

class TColorQuantizer {
 public:
  static constexpr int kMaxColorBits = 8;

  // `color_bits` is the depth of the leaves, 1 .. 8 (larger values are
  // taken as 8, smaller as 1); `max_colors` at least 1.
  TColorQuantizer(int max_colors, int color_bits);

  // Adds every pixel of a 24-bit or 1-bit picture.
  void ProcessImage(const TPictureBitmap& picture);
  void AddColor(std::uint8_t r, std::uint8_t g, std::uint8_t b);

  int LeafCount() const { return leaf_count_; }
  // Writes one entry per leaf, in tree order, from index 0; entries beyond
  // the leaf count (or the table's size) are left alone.
  void GetColorTable(std::vector<TRgbQuad>& table) const;

 private:
  TOctreeNode* CreateNode(int level);
  // Merges one inner node; false when there is none left.
  bool ReduceTree();

  std::unique_ptr<TOctreeNode> root_;
  int leaf_count_ = 0;
  std::array<TOctreeNode*, kMaxColorBits> reducible_{};
  int max_colors_;
  int color_bits_;
};

}  // namespace vistrel
