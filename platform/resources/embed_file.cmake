# Writes a C++ source that holds the bytes of INPUT as the body of FUNCTION
# (a std::span<const std::uint8_t>), declared in HEADER.
# cmake -DINPUT=... -DOUTPUT=... -DFUNCTION=... -DHEADER=... -P embed_file.cmake
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
       "\\1\n  " bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp
"// Generated from ${INPUT}; do not edit.
#include \"${HEADER}\"

namespace vistrel {
namespace {
const std::uint8_t kBytes[] = {
  ${bytes}
};
}  // namespace

std::span<const std::uint8_t> ${FUNCTION}() { return kBytes; }

}  // namespace vistrel
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
