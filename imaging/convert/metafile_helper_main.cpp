// vistrel-metafile wmf|emf: draws the metafile on standard input and writes
// the picture to standard output for the program (decoder_child), or one
// line on standard error and exit code 1 when the file is refused. The
// program runs it with limits on time and memory and without a display.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <new>
#include <string_view>
#include <vector>

#include "imaging/formats/decoder_child.h"
#include "imaging/formats/metafile_draw.h"

namespace {

std::vector<std::uint8_t> ReadStandardInput() {
  std::vector<std::uint8_t> bytes;
  std::uint8_t buffer[65536];
  for (;;) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, stdin);
    bytes.insert(bytes.end(), buffer, buffer + n);
    if (n < sizeof buffer) return bytes;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view kind = argc == 2 ? argv[1] : "";
  if (kind != "wmf" && kind != "emf") {
    std::fputs("usage: vistrel-metafile wmf|emf <FILE >PICTURE\n", stderr);
    return 2;
  }
  try {
    const std::vector<std::uint8_t> bytes = ReadStandardInput();
    vistrel::TPictureBitmap picture;
    vistrel::TIOParams params;
    (kind == "wmf" ? vistrel::DrawWmf : vistrel::DrawEmf)(vistrel::TByteSpan(bytes), picture, params);
    if (!vistrel::WriteChildPicture(STDOUT_FILENO, picture)) return 1;
    return 0;
  } catch (const std::bad_alloc&) {
    std::fputs("Out of memory\n", stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
  }
  return 1;
}
