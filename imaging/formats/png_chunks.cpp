#include "imaging/formats/png_chunks.h"

#include <zlib.h>

#include <algorithm>

#include "imaging/formats/format_support.h"

namespace vistrel {

void PutBE32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(v >> shift));
}

void PutBE16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v >> 8));
  out.push_back(std::uint8_t(v));
}

TPngChunkWriter::TPngChunkWriter(std::FILE* file) : file_(file) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Put(kSignature, sizeof kSignature);
}

void TPngChunkWriter::Put(const void* data, std::size_t size) {
  WriteAll(file_, TByteSpan(static_cast<const std::uint8_t*>(data), size));
}

void TPngChunkWriter::Chunk(const char (&type)[5], const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> head;
  PutBE32(head, std::uint32_t(size));
  head.insert(head.end(), type, type + 4);
  uLong crc = crc32(0, head.data() + 4, 4);
  if (size) crc = crc32_z(crc, data, size);  // a null buffer would reset it
  Put(head.data(), head.size());
  Put(data, size);
  std::vector<std::uint8_t> tail;
  PutBE32(tail, std::uint32_t(crc));
  Put(tail.data(), tail.size());
}

void TPngChunkWriter::ImageData(const std::vector<std::uint8_t>& zlib_stream) {
  constexpr std::size_t kChunk = 1 << 18;
  for (std::size_t at = 0; at < zlib_stream.size(); at += kChunk)
    Chunk("IDAT", zlib_stream.data() + at, std::min(kChunk, zlib_stream.size() - at));
}

}  // namespace vistrel
