#include "imaging/formats/png_deflate_blocks.h"

#include <array>
#include <bit>
#include <cstring>

namespace vistrel {
namespace {

// Least significant bit first, as deflate packs its bits. Reads past the
// end see zeros; the caller checks the position against the size.
class TBits {
 public:
  TBits(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint32_t Peek(int n) const {
    std::uint64_t v = 0;
    const std::size_t at = pos_ / 8;
    if (std::endian::native == std::endian::little && at + 8 <= size_) {
      std::memcpy(&v, data_ + at, 8);
    } else {
      for (std::size_t i = 0; i < 5 && at + i < size_; ++i) v |= std::uint64_t(data_[at + i]) << (8 * i);
    }
    return std::uint32_t(v >> (pos_ % 8)) & ((1u << n) - 1);
  }
  std::uint32_t Take(int n) {
    const std::uint32_t v = n ? Peek(n) : 0;
    pos_ += std::size_t(n);
    return v;
  }
  void Skip(std::size_t n) { pos_ += n; }
  std::size_t Pos() const { return pos_; }
  bool Over() const { return pos_ > size_ * 8; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// A canonical Huffman code as a table indexed by the next `bits` input bits.
class THuffman {
 public:
  bool Build(const std::uint8_t* lengths, int count) {
    int counts[16] = {};
    bits_ = 0;
    for (int s = 0; s < count; ++s) {
      ++counts[lengths[s]];
      if (lengths[s] > bits_) bits_ = lengths[s];
    }
    if (bits_ == 0) return true;  // an unused code (no distances)
    table_.assign(std::size_t(1) << bits_, 0);
    int next[16] = {};
    int code = 0;
    counts[0] = 0;  // first codes of each length, as deflate defines them
    for (int len = 1; len <= 15; ++len) {
      code = (code + counts[len - 1]) << 1;
      next[len] = code;
    }
    for (int s = 0; s < count; ++s) {
      const int len = lengths[s];
      if (!len) continue;
      const int c = next[len]++;
      if (c >= (1 << len)) return false;  // oversubscribed
      int rev = 0;
      for (int i = 0; i < len; ++i) rev |= ((c >> i) & 1) << (len - 1 - i);
      for (std::size_t r = std::size_t(rev); r < table_.size(); r += std::size_t(1) << len)
        table_[r] = std::uint32_t(s) << 4 | std::uint32_t(len);
    }
    return true;
  }
  // The next symbol, or -1 for a code the table does not hold.
  int Decode(TBits& in) const {
    if (bits_ == 0) return -1;
    const std::uint32_t e = table_[in.Peek(bits_)];
    if ((e & 15) == 0) return -1;
    in.Skip(e & 15);
    return int(e >> 4);
  }

 private:
  int bits_ = 0;
  std::vector<std::uint32_t> table_;
};

constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};

bool ReadDynamicCodes(TBits& in, THuffman& litlen, THuffman& dist) {
  static constexpr int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  const int hlit = int(in.Take(5)) + 257, hdist = int(in.Take(5)) + 1, hclen = int(in.Take(4)) + 4;
  std::uint8_t cl[19] = {};
  for (int i = 0; i < hclen; ++i) cl[kOrder[i]] = std::uint8_t(in.Take(3));
  THuffman lengths_code;
  if (!lengths_code.Build(cl, 19)) return false;
  std::array<std::uint8_t, 320> lengths{};
  for (int i = 0; i < hlit + hdist;) {
    const int sym = lengths_code.Decode(in);
    if (sym < 0 || in.Over()) return false;
    if (sym < 16) {
      lengths[std::size_t(i++)] = std::uint8_t(sym);
      continue;
    }
    std::uint8_t value = 0;
    int repeat;
    if (sym == 16) {
      if (i == 0) return false;
      value = lengths[std::size_t(i - 1)];
      repeat = 3 + int(in.Take(2));
    } else {
      repeat = sym == 17 ? 3 + int(in.Take(3)) : 11 + int(in.Take(7));
    }
    if (i + repeat > hlit + hdist) return false;
    while (repeat--) lengths[std::size_t(i++)] = value;
  }
  return litlen.Build(lengths.data(), hlit) && dist.Build(lengths.data() + hlit, hdist);
}

// Walks the symbols of a Huffman-coded block up to its end-of-block code.
bool SkipSymbols(TBits& in, const THuffman& litlen, const THuffman& dist) {
  for (;;) {
    const int sym = litlen.Decode(in);
    if (sym < 0 || sym > 285 || in.Over()) return false;
    if (sym < 256) continue;
    if (sym == 256) return true;
    in.Skip(kLengthExtra[sym - 257]);
    const int d = dist.Decode(in);
    if (d < 0 || d > 29) return false;
    in.Skip(std::size_t(d < 4 ? 0 : d / 2 - 1));
  }
}

// The bit positions of the final block's header and of the stream's end.
bool FindFinalBlock(const std::vector<std::uint8_t>& deflate, std::size_t& header, std::size_t& end) {
  TBits in(deflate.data(), deflate.size());
  THuffman fixed_litlen, fixed_dist;
  {
    std::uint8_t l[288], d[30];
    std::memset(l, 8, 144), std::memset(l + 144, 9, 112), std::memset(l + 256, 7, 24), std::memset(l + 280, 8, 8);
    std::memset(d, 5, 30);
    fixed_litlen.Build(l, 288), fixed_dist.Build(d, 30);
  }
  THuffman litlen, dist;
  for (;;) {
    header = in.Pos();
    const bool final = in.Take(1);
    const std::uint32_t type = in.Take(2);
    if (type == 0) {
      in.Skip((8 - in.Pos() % 8) % 8);
      const std::uint32_t len = in.Take(16), nlen = in.Take(16);
      if ((len ^ 0xFFFF) != nlen) return false;
      in.Skip(std::size_t(len) * 8);
    } else if (type == 1) {
      if (!SkipSymbols(in, fixed_litlen, fixed_dist)) return false;
    } else if (type == 2) {
      if (!ReadDynamicCodes(in, litlen, dist) || !SkipSymbols(in, litlen, dist)) return false;
    } else {
      return false;
    }
    if (in.Over()) return false;
    if (final) break;
  }
  end = in.Pos();
  return (end + 7) / 8 == deflate.size();
}

}  // namespace

bool ContinueAfter(std::vector<std::uint8_t>& deflate) {
  std::size_t header = 0, end = 0;
  if (!FindFinalBlock(deflate, header, end)) return false;
  deflate[header / 8] &= std::uint8_t(~(1u << (header % 8)));
  if (end % 8) deflate.back() &= std::uint8_t((1u << (end % 8)) - 1);
  // The empty stored block: three zero header bits, zeros to the byte
  // boundary, then LEN 0 and NLEN 0xFFFF.
  deflate.resize((end + 3 + 7) / 8, 0);
  deflate.insert(deflate.end(), {0x00, 0x00, 0xFF, 0xFF});
  return true;
}

}  // namespace vistrel
