#include "platform/wave_file.h"

namespace vistrel {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}
std::uint16_t Le16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }
bool Tag(const std::uint8_t* p, const char* tag) {
  return p[0] == tag[0] && p[1] == tag[1] && p[2] == tag[2] && p[3] == tag[3];
}

}  // namespace

std::optional<TWaveFormat> ParseWave(std::span<const std::uint8_t> file) {
  if (file.size() < 12 || !Tag(file.data(), "RIFF") || !Tag(file.data() + 8, "WAVE"))
    return std::nullopt;
  TWaveFormat format;
  bool have_format = false;
  std::size_t pos = 12;
  while (file.size() - pos >= 8) {
    const std::uint8_t* chunk = file.data() + pos;
    const std::size_t size = Le32(chunk + 4);
    if (size > file.size() - pos - 8) return std::nullopt;
    const std::uint8_t* body = chunk + 8;
    if (Tag(chunk, "fmt ")) {
      if (size < 16 || Le16(body) != 1) return std::nullopt;  // PCM only
      format.channels = Le16(body + 2);
      format.sample_rate = int(Le32(body + 4) & 0x7FFFFFFF);
      format.bits_per_sample = Le16(body + 14);
      if (format.channels < 1 || format.channels > 2 || format.sample_rate <= 0 ||
          (format.bits_per_sample != 8 && format.bits_per_sample != 16))
        return std::nullopt;
      have_format = true;
    } else if (Tag(chunk, "data")) {
      if (!have_format) return std::nullopt;
      const std::size_t frame = std::size_t(format.channels) * (format.bits_per_sample / 8);
      format.samples = std::span<const std::uint8_t>(body, size - size % frame);
      return format;
    }
    pos += 8 + size + (size & 1);  // chunks are padded to even sizes
    if (pos > file.size()) break;
  }
  return std::nullopt;
}

}  // namespace vistrel
