#include "imaging/formats/io_params.h"

namespace vistrel {

void TIOParams::Reset(int screen_dpi) {
  *this = TIOParams{};
  dpi_x = dpi_y = screen_dpi > 0 ? screen_dpi : kDefaultScreenDpi;
}

void SetColorCount(TIOParams& params, long colors) {
  if (colors <= 2) {
    params.bits_per_sample = 1;
    params.samples_per_pixel = 1;
  } else if (colors <= 256) {
    int bits = 1;
    while ((1L << bits) < colors) ++bits;
    params.bits_per_sample = bits;
    params.samples_per_pixel = 1;
  } else if (colors <= 65536) {
    params.bits_per_sample = 5;  // 5-5-5
    params.samples_per_pixel = 3;
  } else if (colors <= 16777216) {
    params.bits_per_sample = 8;
    params.samples_per_pixel = 3;
  } else {
    params.bits_per_sample = 8;
    params.samples_per_pixel = 4;
  }
}

}  // namespace vistrel
