// Writes small pictures with our own writers as starting points for the
// fuzzers: SEED_DIR/fuzz_NAME/ for each reader.
#include <filesystem>
#include <string>

#include "imaging/formats/picture_file.h"

using namespace vistrel;

namespace {

TPictureBitmap Colourful(int w, int h) {
  TPictureBitmap p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.SetPixel(x, y, MakeColor(std::uint8_t(x * 37), std::uint8_t(y * 53), std::uint8_t(x ^ y)));
  return p;
}

TPictureBitmap Mono(int w, int h) {
  TPictureBitmap p(w, h, PixelFormat::Mono1);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.SetPixel(x, y, (x + y) % 3 ? kWhite : kBlack);
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::filesystem::path root = argv[1];
  struct TSeed {
    const char* fuzzer;
    const char* file;
    int bits;
    int samples;
  };
  const TSeed seeds[] = {
      {"png", "a.png", 8, 3},   {"png", "p.png", 4, 1},   {"jpeg", "a.jpg", 8, 3},  {"gif", "a.gif", 8, 1},
      {"gif", "b.gif", 1, 1},   {"bmp", "a.bmp", 8, 3},   {"bmp", "p.bmp", 8, 1},   {"bmp", "q.bmp", 4, 1},
      {"tiff", "a.tif", 8, 3},  {"tiff", "m.tif", 1, 1},  {"pcx", "a.pcx", 8, 3},   {"pcx", "p.pcx", 8, 1},
      {"pcx", "q.pcx", 4, 1},   {"dcx", "a.dcx", 8, 3},   {"ico", "a.ico", 8, 1},   {"cur", "a.ico", 8, 1},
      {"jpeg2000", "a.jp2", 8, 3}, {"jpeg2000", "a.j2k", 8, 3}, {"targa", "a.tga", 8, 3},
      {"portablemap", "a.ppm", 8, 3}, {"portablemap", "a.pbm", 1, 1}, {"portablemap", "a.pgm", 8, 1},
      {"wbmp", "a.wbmp", 1, 1},
  };
  for (const TSeed& s : seeds) {
    const std::filesystem::path dir = root / (std::string("fuzz_") + s.fuzzer);
    std::filesystem::create_directories(dir);
    TIOParams params;
    params.bits_per_sample = s.bits;
    params.samples_per_pixel = s.samples;
    params.bmp_rle = std::string(s.file) == "q.bmp";
    const TPictureBitmap picture = s.bits == 1 ? Mono(19, 7) : Colourful(21, 9);
    SavePictureFile((dir / s.file).string(), picture, params);
  }
  return 0;
}
