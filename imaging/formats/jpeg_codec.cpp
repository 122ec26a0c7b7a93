// JPEG through libjpeg-turbo's IJG interface. libjpeg reports errors by
// calling error_exit, which must not return: we jump back to the setjmp of
// the function that owns the codec object.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include "imaging/formats/format_codecs.h"
#include "imaging/formats/jpeg_encoder.h"

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

// libjpeg only warns about missing or damaged data and fills in grey; such
// a picture is not the file's, so these warnings fail the read.
void OnJpegMessage(j_common_ptr cinfo, int level) {
  const int code = cinfo->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC ||
                    code == JWRN_HUFF_BAD_CODE))
    OnJpegError(cinfo);
}

// A hostile progressive file can hold endless scans; real ones have a few.
constexpr int kMaxScans = 1000;

void OnProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) {
      auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
      std::snprintf(err->message, sizeof err->message, "Too many scans");
      std::longjmp(err->jump, 1);
    }
  }
}

struct TDecompressor {
  jpeg_decompress_struct cinfo{};
  TJpegError err;
  jpeg_progress_mgr progress{};
  TDecompressor() {
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnJpegError;
    err.mgr.emit_message = OnJpegMessage;
    progress.progress_monitor = OnProgress;
  }
  ~TDecompressor() { jpeg_destroy_decompress(&cinfo); }
};

// The saved markers live in libjpeg's image pool, which finishing the
// decompression releases: copy them straight after the header.
bool ReadHeader(TDecompressor& d, TByteSpan data, std::vector<TJpegMarker>& markers) {
  if (setjmp(d.err.jump)) return false;
  jpeg_create_decompress(&d.cinfo);
  d.cinfo.progress = &d.progress;
  jpeg_mem_src(&d.cinfo, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_save_markers(&d.cinfo, JPEG_COM, 0xFFFF);
  for (int m = 0; m < 16; ++m) jpeg_save_markers(&d.cinfo, JPEG_APP0 + m, 0xFFFF);
  jpeg_read_header(&d.cinfo, TRUE);
  for (jpeg_saved_marker_ptr m = d.cinfo.marker_list; m; m = m->next)
    markers.push_back({m->marker, {m->data, m->data + m->data_length}});
  return true;
}

bool ReadPixels(TDecompressor& d, TPictureBitmap& picture, std::vector<std::uint8_t>& cmyk_row) {
  if (setjmp(d.err.jump)) return false;
  jpeg_decompress_struct& c = d.cinfo;
  const bool cmyk = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
  c.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&c);
  if (cmyk) cmyk_row.resize(std::size_t(c.output_width) * 4);
  while (c.output_scanline < c.output_height) {
    const int y = int(c.output_scanline);
    JSAMPROW row = cmyk ? cmyk_row.data() : picture.Row(y);
    jpeg_read_scanlines(&c, &row, 1);
    if (cmyk) {
      // Adobe writes CMYK inverted: each value is 255 minus the ink.
      std::uint8_t* out = picture.Row(y);
      for (JDIMENSION x = 0; x < c.output_width; ++x, out += 3) {
        const int k = cmyk_row[4 * x + 3];
        out[2] = std::uint8_t(cmyk_row[4 * x] * k / 255);
        out[1] = std::uint8_t(cmyk_row[4 * x + 1] * k / 255);
        out[0] = std::uint8_t(cmyk_row[4 * x + 2] * k / 255);
      }
    }
  }
  jpeg_finish_decompress(&c);
  return true;
}

}  // namespace

void ReadJpeg(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  if (data.size() < 3 || data[0] != 0xFF || data[1] != 0xD8) throw FormatError("Not a JPEG file");
  TDecompressor d;
  std::vector<TJpegMarker> markers;
  if (!ReadHeader(d, data, markers)) throw FormatError(d.err.message);
  CheckPictureSize(d.cinfo.image_width, d.cinfo.image_height);
  // Sequential Huffman coding spends two bits at least on every 8 x 8 block:
  // a file cannot hold more than 256 pixels a byte. (Progressive and
  // arithmetic coding can say "all blocks empty" in a few bytes.)
  if (!d.cinfo.progressive_mode && !d.cinfo.arith_code &&
      std::uint64_t(d.cinfo.image_width) * d.cinfo.image_height / 256 > data.size())
    throw FormatError("Unexpected end of file");
  TPictureBitmap result(int(d.cinfo.image_width), int(d.cinfo.image_height));
  std::vector<std::uint8_t> cmyk_row;
  if (!ReadPixels(d, result, cmyk_row)) throw FormatError(d.err.message);

  const jpeg_decompress_struct& c = d.cinfo;
  params.bits_per_sample = 8;
  params.samples_per_pixel = c.num_components;
  params.jpeg_color_space = c.jpeg_color_space == JCS_GRAYSCALE ? TJpegColorSpace::Gray
                            : c.jpeg_color_space == JCS_RGB     ? TJpegColorSpace::Rgb
                                                                : TJpegColorSpace::YCbCr;
  params.jpeg_progressive = c.progressive_mode;
  if (c.saw_JFIF_marker && c.X_density > 0 && c.Y_density > 0) {
    if (c.density_unit == 1) params.dpi_x = c.X_density, params.dpi_y = c.Y_density;
    if (c.density_unit == 2)
      params.dpi_x = int(c.X_density * 2.54 + 0.5), params.dpi_y = int(c.Y_density * 2.54 + 0.5);
  }
  params.jpeg_markers = std::move(markers);
  picture = std::move(result);
}

void WriteJpeg(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  const std::vector<std::uint8_t> bytes = EncodeJpeg(picture, params);
  WriteAll(file, bytes);
}

}  // namespace vistrel
