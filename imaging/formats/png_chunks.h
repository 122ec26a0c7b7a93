// Writing PNG files chunk by chunk.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

namespace vistrel {

class TPngChunkWriter {
 public:
  // Writes the signature.
  explicit TPngChunkWriter(std::FILE* file);
  void Chunk(const char (&type)[5], const std::uint8_t* data, std::size_t size);
  void Chunk(const char (&type)[5], const std::vector<std::uint8_t>& data) { Chunk(type, data.data(), data.size()); }
  // Image data in IDAT chunks of at most 256 KB.
  void ImageData(const std::vector<std::uint8_t>& zlib_stream);

 private:
  void Put(const void* data, std::size_t size);
  std::FILE* file_;
};

// Big-endian fields as PNG chunks hold them.
void PutBE32(std::vector<std::uint8_t>& out, std::uint32_t v);
void PutBE16(std::vector<std::uint8_t>& out, std::uint16_t v);

}  // namespace vistrel
