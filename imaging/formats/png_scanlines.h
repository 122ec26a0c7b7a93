// The image data of a PNG before compression: scanlines in file order (the
// seven Adam7 passes one after another when interlaced), each a filter type
// byte followed by the filtered bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/formats/io_params.h"

namespace vistrel {

struct TPngImageRows {
  const std::uint8_t* first_row = nullptr;
  std::size_t stride = 0;
  int width = 0, height = 0;
  int bits_per_pixel = 24;  // 1, 2, 4, 8 (one sample) or 24 (RGB)
  bool bgr = false;         // 24-bit rows hold blue first; PNG wants red first
  bool interlaced = false;
};

class TPngScanlines {
 public:
  TPngScanlines(const TPngImageRows& image, TPngFilter filter);
  int Count() const { return int(lines_.size()); }
  bool Filtered() const { return filter_type_ != 0; }
  // Bytes of scanlines [first, last) with their filter bytes.
  std::size_t FilteredSize(int first, int last) const;
  // Writes scanlines [first, last), FilteredSize(first, last) bytes.
  void Filter(int first, int last, std::uint8_t* out) const;

 private:
  struct TLine {
    int y, x0, dx, width;
    bool first_of_pass;
  };
  std::size_t RowBytes(const TLine& l) const;
  void Raw(const TLine& l, std::uint8_t* out) const;

  TPngImageRows image_;
  int filter_type_;
  std::vector<TLine> lines_;
};

}  // namespace vistrel
