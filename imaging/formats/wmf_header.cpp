#include "imaging/formats/wmf_header.h"

#include <algorithm>

namespace vistrel {
namespace {

// Where the bitmap starts in the parameters of the records that carry one,
// or -1. The DIBBITBLT and DIBSTRETCHBLT forms without a bitmap are as long
// as the high byte of their function number says.
int DibOffset(std::uint16_t function, std::uint64_t record_bytes) {
  const bool has_bitmap = record_bytes != (std::uint64_t(function >> 8) + 3) * 2;
  switch (function) {
    case 0x0940: return has_bitmap ? 16 : -1;  // DIBBITBLT
    case 0x0B41: return has_bitmap ? 20 : -1;  // DIBSTRETCHBLT
    case 0x0F43: return 22;                    // STRETCHDIB
    case 0x0D33: return 18;                    // SETDIBTODEV
    case 0x0142: return 4;                     // DIBCREATEPATTERNBRUSH
    default: return -1;
  }
}

// libwmf trusts a bitmap's header size and loops forever on some wrong
// ones, so only the sizes Windows writes pass.
void CheckDibHeader(TByteSpan dib) {
  TByteReader r(dib);
  const std::uint32_t size = r.LE32();
  if (size == 12) return;  // OS/2 core header
  if (size != 40 && size != 52 && size != 56 && size != 108 && size != 124)
    throw FormatError("Bad bitmap in the metafile");
  if (size > dib.size()) throw FormatError("Bad bitmap in the metafile");
  r.Skip(8);  // width, height
  const std::uint16_t planes = r.LE16(), bits = r.LE16();
  if (planes != 1 || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
    throw FormatError("Bad bitmap in the metafile");
}

}  // namespace

void CheckWmfRecords(TByteSpan data) {
  TByteReader r(data);
  if (data.size() >= 4 && r.LE32() != 0x9AC6CDD7u) r.Seek(0);  // no placeable header
  else if (data.size() >= 22) r.Seek(22);
  const std::uint16_t type = r.LE16();
  const std::uint16_t header_words = r.LE16();
  if ((type != 1 && type != 2) || header_words != 9) throw FormatError("Not a Windows metafile");
  r.Skip(2 + 4 + 2);  // version, size, objects
  const std::uint64_t max_record_bytes = std::uint64_t(r.LE32()) * 2;
  r.Skip(2);
  if (max_record_bytes < 6 || max_record_bytes > r.Left()) throw FormatError("Bad metafile record size");
  while (!r.AtEnd()) {
    const std::uint64_t bytes = std::uint64_t(r.LE32()) * 2;
    const std::uint16_t function = r.LE16();
    if (bytes < 6 || bytes > max_record_bytes || bytes - 6 > r.Left()) throw FormatError("Bad metafile record size");
    const TByteSpan params = r.Bytes(std::size_t(bytes - 6));
    const int dib = DibOffset(function, bytes);
    if (dib >= 0) CheckDibHeader(params.subspan(std::min(params.size(), std::size_t(dib))));
    if (function == 0) return;  // end of the metafile
  }
  throw FormatError("Metafile without an end record");
}

}  // namespace vistrel
