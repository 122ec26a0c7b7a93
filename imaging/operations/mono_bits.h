// Bit access for 1-bit rows: most significant bit first, set bit = white.
#pragma once

#include <cstdint>

namespace vistrel {

inline bool MonoBit(const std::uint8_t* row, int x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }

inline void SetMonoBit(std::uint8_t* row, int x, bool white) {
  const std::uint8_t bit = std::uint8_t(0x80u >> (x & 7));
  row[x >> 3] = white ? std::uint8_t(row[x >> 3] | bit) : std::uint8_t(row[x >> 3] & ~bit);
}

}  // namespace vistrel
