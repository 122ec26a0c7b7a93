#include "imaging/formats/gif_lzw.h"

#include <algorithm>

namespace vistrel {

TGifLzwEncoder::TGifLzwEncoder(int code_size, std::vector<std::uint8_t>& out)
    : out_(out),
      init_bits_(code_size + 1),
      clear_code_(1 << code_size),
      end_code_((1 << code_size) + 1),
      n_bits_(code_size + 1),
      max_code_((1 << (code_size + 1)) - 1),
      free_code_((1 << code_size) + 2),
      hash_(kHashSize, -1),
      codes_(kHashSize, 0) {
  Output(clear_code_);
}

void TGifLzwEncoder::Put(std::uint8_t pixel) {
  if (!started_) {
    prefix_ = pixel;
    started_ = true;
    return;
  }
  const std::int32_t full = (std::int32_t(pixel) << kMaxBits) + prefix_;
  int slot = (int(pixel) << 4) ^ prefix_;
  if (hash_[slot] == full) {
    prefix_ = codes_[slot];
    return;
  }
  if (hash_[slot] >= 0) {
    // Probe backwards with a step that depends on the first slot.
    const int step = slot == 0 ? 1 : kHashSize - slot;
    do {
      slot -= step;
      if (slot < 0) slot += kHashSize;
      if (hash_[slot] == full) {
        prefix_ = codes_[slot];
        return;
      }
    } while (hash_[slot] >= 0);
  }
  Output(prefix_);
  prefix_ = pixel;
  if (free_code_ < kMaxMaxCode) {
    codes_[slot] = std::uint16_t(free_code_++);
    hash_[slot] = full;
  } else {
    ClearTable();
  }
}

void TGifLzwEncoder::ClearTable() {
  std::fill(hash_.begin(), hash_.end(), -1);
  free_code_ = clear_code_ + 2;
  clear_pending_ = true;
  Output(clear_code_);
}

void TGifLzwEncoder::Output(int code) {
  accum_ |= std::uint32_t(code) << accum_bits_;
  accum_bits_ += n_bits_;
  while (accum_bits_ >= 8) {
    ByteOut(std::uint8_t(accum_));
    accum_ >>= 8;
    accum_bits_ -= 8;
  }
  // The width grows once the next free code no longer fits.
  if (free_code_ > max_code_ || clear_pending_) {
    if (clear_pending_) {
      n_bits_ = init_bits_;
      max_code_ = (1 << n_bits_) - 1;
      clear_pending_ = false;
    } else {
      ++n_bits_;
      max_code_ = n_bits_ == kMaxBits ? kMaxMaxCode : (1 << n_bits_) - 1;
    }
  }
}

void TGifLzwEncoder::Finish() {
  if (started_) Output(prefix_);
  Output(end_code_);
  while (accum_bits_ > 0) {
    ByteOut(std::uint8_t(accum_));
    accum_ >>= 8;
    accum_bits_ = accum_bits_ > 8 ? accum_bits_ - 8 : 0;
  }
  FlushBlock();
}

void TGifLzwEncoder::ByteOut(std::uint8_t b) {
  block_[block_len_++] = b;
  if (block_len_ >= 254) FlushBlock();
}

void TGifLzwEncoder::FlushBlock() {
  if (block_len_ == 0) return;
  out_.push_back(std::uint8_t(block_len_));
  out_.insert(out_.end(), block_, block_ + block_len_);
  block_len_ = 0;
}

}  // namespace vistrel
