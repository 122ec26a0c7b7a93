#include "imaging/formats/jpeg_encoder.h"

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "imaging/formats/color_layout.h"
#include "imaging/formats/format_support.h"

namespace vistrel {
namespace {

struct TJpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = "JPEG error";
};

void OnJpegError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void OnJpegMessage(j_common_ptr, int) {}

struct TCompressor {
  jpeg_compress_struct cinfo{};
  TJpegError err;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  TCompressor() {
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnJpegError;
    err.mgr.emit_message = OnJpegMessage;
  }
  ~TCompressor() {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
  }
};

bool IsLibraryHeader(const TJpegMarker& m) {
  auto starts = [&](const char* tag, std::size_t n) {
    return m.data.size() >= n && std::memcmp(m.data.data(), tag, n) == 0;
  };
  return (m.code == JPEG_APP0 && starts("JFIF\0", 5)) || (m.code == JPEG_APP0 + 14 && starts("Adobe", 5));
}

bool Compress(TCompressor& c, const TPictureBitmap& picture, const TIOParams& params,
              std::vector<std::uint8_t>& row) {
  if (setjmp(c.err.jump)) return false;
  jpeg_compress_struct& ci = c.cinfo;
  jpeg_create_compress(&ci);
  jpeg_mem_dest(&ci, &c.buffer, &c.size);
  ci.image_width = JDIMENSION(picture.Width());
  ci.image_height = JDIMENSION(picture.Height());
  ci.input_components = 3;
  ci.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&ci);
  // Grey only when asked for, or when the picture is grey anyway.
  const TColorRequest request{params.jpeg_color_space == TJpegColorSpace::Gray ? TColorLayout::Grey
                                                                                : TColorLayout::Rgb,
                              8, JpegColorSpaceFromFile(params)};
  const bool grey = DecideColors(picture, request, TWriterColors{false, true, 0, true}).layout ==
                    TColorLayout::Grey;
  if (grey) jpeg_set_colorspace(&ci, JCS_GRAYSCALE);
  else if (params.jpeg_color_space == TJpegColorSpace::Rgb) jpeg_set_colorspace(&ci, JCS_RGB);
  else jpeg_set_colorspace(&ci, JCS_YCbCr);
  jpeg_set_quality(&ci, std::clamp(params.jpeg_quality, 0, 100), TRUE);
  ci.dct_method = params.jpeg_dct_method == TJpegDctMethod::IFast   ? JDCT_IFAST
                  : params.jpeg_dct_method == TJpegDctMethod::Float ? JDCT_FLOAT
                                                                    : JDCT_ISLOW;
  ci.optimize_coding = params.jpeg_optimal ? TRUE : FALSE;
  ci.smoothing_factor = std::clamp(params.jpeg_smoothing, 0, 100);
  if (params.jpeg_progressive) jpeg_simple_progression(&ci);
  ci.density_unit = 1;
  ci.X_density = UINT16(std::clamp(params.dpi_x, 1, 65535));
  ci.Y_density = UINT16(std::clamp(params.dpi_y, 1, 65535));
  jpeg_start_compress(&ci, TRUE);
  for (const TJpegMarker& m : params.jpeg_markers)
    if (!IsLibraryHeader(m) && m.data.size() <= 65533)
      jpeg_write_marker(&ci, m.code, m.data.data(), unsigned(m.data.size()));
  while (ci.next_scanline < ci.image_height) {
    const int y = int(ci.next_scanline);
    JSAMPROW p;
    if (picture.IsMono()) {
      const std::uint8_t* bits = picture.Row(y);
      for (int x = 0; x < picture.Width(); ++x)
        std::memset(&row[3 * std::size_t(x)], (bits[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0, 3);
      p = row.data();
    } else {
      p = const_cast<JSAMPROW>(picture.Row(y));
    }
    jpeg_write_scanlines(&ci, &p, 1);
  }
  jpeg_finish_compress(&ci);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const TPictureBitmap& picture, const TIOParams& params) {
  if (picture.Width() > 65500 || picture.Height() > 65500)
    throw FormatError("JPEG pictures are at most 65500 pixels wide and high");
  TCompressor c;
  std::vector<std::uint8_t> row(picture.IsMono() ? std::size_t(picture.Width()) * 3 : 0);
  if (!Compress(c, picture, params, row)) throw FormatError(c.err.message);
  return {c.buffer, c.buffer + c.size};
}

}  // namespace vistrel
