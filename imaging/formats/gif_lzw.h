// The GIF variable-width LZW coder.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace vistrel {

// Codes the pixel indices handed to Put() and appends the image data
// sub-blocks (at most 254 bytes each, without the final zero block) to `out`.
class TGifLzwEncoder {
 public:
  TGifLzwEncoder(int code_size, std::vector<std::uint8_t>& out);
  void Put(std::uint8_t pixel);
  // Writes the last code, the end code and the last sub-block.
  void Finish();

 private:
  static constexpr int kHashSize = 5003;
  static constexpr int kMaxBits = 12;
  static constexpr int kMaxMaxCode = 1 << kMaxBits;

  void Output(int code);
  void ClearTable();
  void ByteOut(std::uint8_t b);
  void FlushBlock();

  std::vector<std::uint8_t>& out_;
  int init_bits_;
  int clear_code_;
  int end_code_;
  int n_bits_;
  int max_code_;
  int free_code_;
  bool clear_pending_ = false;
  bool started_ = false;
  int prefix_ = 0;
  std::uint32_t accum_ = 0;
  int accum_bits_ = 0;
  std::uint8_t block_[255];
  int block_len_ = 0;
  std::vector<std::int32_t> hash_;   // full code (pixel << 12 | prefix), -1 = free
  std::vector<std::uint16_t> codes_;
};

}  // namespace vistrel
