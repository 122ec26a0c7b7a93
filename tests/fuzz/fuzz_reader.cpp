// Feeds arbitrary bytes to one picture reader (chosen at build time). A
// FormatError or an allocation refusal is an answer; anything else that
// escapes, and every crash, hang or leak, is a finding.
#include <cstddef>
#include <cstdint>
#include <new>

#include "imaging/formats/format_codecs.h"
#include "imaging/formats/metafile_draw.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vistrel::TPictureBitmap picture;
  vistrel::TIOParams params;
  try {
    vistrel::VISTREL_FUZZ_READER(vistrel::TByteSpan(data, size), picture, params);
  } catch (const vistrel::FormatError&) {
  } catch (const std::bad_alloc&) {
  }
  return 0;
}
