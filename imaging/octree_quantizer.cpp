#include "imaging/octree_quantizer.h"

#include <algorithm>

namespace vistrel {

namespace {

void WalkLeaves(const TOctreeNode& node, std::vector<TRgbQuad>& table, std::size_t& index) {
  if (node.leaf) {
    if (index < table.size()) {
      TRgbQuad& e = table[index];
      if (node.pixel_count > 0) {
        e.red = std::uint8_t(node.red_sum / node.pixel_count);
        e.green = std::uint8_t(node.green_sum / node.pixel_count);
        e.blue = std::uint8_t(node.blue_sum / node.pixel_count);
      } else {
        e = TRgbQuad{};
      }
    }
    ++index;
    return;
  }
  for (const auto& child : node.children)
    if (child) WalkLeaves(*child, table, index);
}

}  // namespace

TColorQuantizer::TColorQuantizer(int max_colors, int color_bits)
    : max_colors_(std::max(1, max_colors)),
      color_bits_(std::clamp(color_bits, 1, kMaxColorBits)) {}

TOctreeNode* TColorQuantizer::CreateNode(int level) {
  auto* node = new TOctreeNode;
  node->leaf = level == color_bits_;
  if (node->leaf) {
    ++leaf_count_;
  } else {
    node->next_reducible = reducible_[std::size_t(level)];
    reducible_[std::size_t(level)] = node;
  }
  return node;
}

void TColorQuantizer::AddColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::unique_ptr<TOctreeNode>* slot = &root_;
  for (int level = 0;; ++level) {
    if (!*slot) slot->reset(CreateNode(level));
    TOctreeNode& node = **slot;
    if (node.leaf) {
      ++node.pixel_count;
      node.red_sum += r;
      node.green_sum += g;
      node.blue_sum += b;
      break;
    }
    const int shift = 7 - level;
    const int index = ((r >> shift) & 1) * 4 + ((g >> shift) & 1) * 2 + ((b >> shift) & 1);
    slot = &node.children[std::size_t(index)];
  }
  while (leaf_count_ > max_colors_ && ReduceTree()) {
  }
}

bool TColorQuantizer::ReduceTree() {
  int level = color_bits_ - 1;
  while (level > 0 && !reducible_[std::size_t(level)]) --level;
  TOctreeNode* node = reducible_[std::size_t(level)];
  if (!node) return false;  // the root is a leaf already
  reducible_[std::size_t(level)] = node->next_reducible;
  std::int64_t red = 0, green = 0, blue = 0;
  int merged = 0;
  for (auto& child : node->children) {
    if (!child) continue;
    node->pixel_count += child->pixel_count;
    red += child->red_sum;
    green += child->green_sum;
    blue += child->blue_sum;
    child.reset();
    ++merged;
  }
  node->leaf = true;
  node->red_sum = red;
  node->green_sum = green;
  node->blue_sum = blue;
  leaf_count_ += 1 - merged;
  return true;
}

void TColorQuantizer::ProcessImage(const TPictureBitmap& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    if (picture.IsMono()) {
      for (int x = 0; x < picture.Width(); ++x) {
        const TColor c = picture.Pixel(x, y);
        AddColor(RedOf(c), GreenOf(c), BlueOf(c));
      }
      continue;
    }
    const std::uint8_t* p = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, p += 3) AddColor(p[2], p[1], p[0]);
  }
}

void TColorQuantizer::GetColorTable(std::vector<TRgbQuad>& table) const {
  std::size_t index = 0;
  if (root_) WalkLeaves(*root_, table, index);
}

}  // namespace vistrel
