#include "imaging/formats/wmf_header.h"

namespace vistrel {

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
    r.Skip(std::size_t(bytes - 6));
    if (function == 0) return;  // end of the metafile
  }
  throw FormatError("Metafile without an end record");
}

}  // namespace vistrel
