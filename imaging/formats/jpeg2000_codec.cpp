// JPEG 2000 files (.jp2) and code streams (.j2k .jpc .j2c) through OpenJPEG.
// The writer takes JasPer's options: a rate of 1 or more is lossless, below
// 1 it is the share of the raw size kept (ratio 1/rate); LRCP or RLCP order.
#include <openjpeg.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/formats/color_layout.h"
#include "imaging/formats/format_codecs.h"

namespace vistrel {
namespace {

struct TOpjMessages {
  std::string error;
};

void OnOpjError(const char* msg, void* user) {
  auto* m = static_cast<TOpjMessages*>(user);
  if (m->error.empty() && msg) {
    m->error = msg;
    while (!m->error.empty() && (m->error.back() == '\n' || m->error.back() == ' ')) m->error.pop_back();
  }
}
void OnOpjQuiet(const char*, void*) {}

struct TCodecDeleter {
  void operator()(opj_codec_t* c) const { opj_destroy_codec(c); }
};
struct TStreamDeleter {
  void operator()(opj_stream_t* s) const { opj_stream_destroy(s); }
};
struct TImageDeleter {
  void operator()(opj_image_t* i) const { opj_image_destroy(i); }
};
using TCodecPtr = std::unique_ptr<opj_codec_t, TCodecDeleter>;
using TStreamPtr = std::unique_ptr<opj_stream_t, TStreamDeleter>;
using TImagePtr = std::unique_ptr<opj_image_t, TImageDeleter>;

struct TMemory {
  TByteSpan data;
  std::size_t pos = 0;
};

OPJ_SIZE_T MemRead(void* buf, OPJ_SIZE_T n, void* user) {
  auto* m = static_cast<TMemory*>(user);
  if (m->pos >= m->data.size()) return OPJ_SIZE_T(-1);
  const std::size_t take = std::min<std::size_t>(n, m->data.size() - m->pos);
  std::memcpy(buf, m->data.data() + m->pos, take);
  m->pos += take;
  return take;
}
OPJ_OFF_T MemSkip(OPJ_OFF_T n, void* user) {
  auto* m = static_cast<TMemory*>(user);
  if (n < 0 && std::size_t(-n) > m->pos) return -1;
  m->pos = std::min<std::size_t>(m->data.size(), std::size_t(OPJ_OFF_T(m->pos) + n));
  return n;
}
OPJ_BOOL MemSeek(OPJ_OFF_T n, void* user) {
  auto* m = static_cast<TMemory*>(user);
  if (n < 0 || std::size_t(n) > m->data.size()) return OPJ_FALSE;
  m->pos = std::size_t(n);
  return OPJ_TRUE;
}

OPJ_SIZE_T FileWrite(void* buf, OPJ_SIZE_T n, void* user) {
  return std::fwrite(buf, 1, n, static_cast<std::FILE*>(user));
}
OPJ_OFF_T FileSkip(OPJ_OFF_T n, void* user) {
  return fseeko(static_cast<std::FILE*>(user), n, SEEK_CUR) == 0 ? n : -1;
}
OPJ_BOOL FileSeek(OPJ_OFF_T n, void* user) {
  return fseeko(static_cast<std::FILE*>(user), n, SEEK_SET) == 0 ? OPJ_TRUE : OPJ_FALSE;
}

void Quiet(opj_codec_t* codec, TOpjMessages& m) {
  opj_set_error_handler(codec, OnOpjError, &m);
  opj_set_warning_handler(codec, OnOpjQuiet, nullptr);
  opj_set_info_handler(codec, OnOpjQuiet, nullptr);
}

// One 8-bit sample from a component value of any precision.
inline std::uint8_t Sample(const opj_image_comp_t& c, OPJ_INT32 v) {
  if (c.sgnd) v += 1 << (c.prec - 1);
  if (c.prec > 8) v >>= (c.prec - 8);
  else if (c.prec < 8) v = c.prec ? v * 255 / ((1 << c.prec) - 1) : 0;
  return std::uint8_t(std::clamp(v, 0, 255));
}

}  // namespace

void ReadJpeg2000(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  static const std::uint8_t kJp2Box[12] = {0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
  OPJ_CODEC_FORMAT format;
  if (data.size() >= 12 && std::memcmp(data.data(), kJp2Box, 12) == 0) format = OPJ_CODEC_JP2;
  else if (data.size() >= 4 && data[0] == 0xFF && data[1] == 0x4F && data[2] == 0xFF && data[3] == 0x51)
    format = OPJ_CODEC_J2K;
  else throw FormatError("Not a JPEG 2000 file");

  TOpjMessages m;
  TCodecPtr codec(opj_create_decompress(format));
  if (!codec) throw std::bad_alloc();
  Quiet(codec.get(), m);
  opj_dparameters_t dp;
  opj_set_default_decoder_parameters(&dp);
  if (!opj_setup_decoder(codec.get(), &dp)) throw FormatError("Cannot set up the JPEG 2000 decoder");
  opj_codec_set_threads(codec.get(), 2);
  TMemory mem{data};
  TStreamPtr stream(opj_stream_create(1 << 16, OPJ_TRUE));
  if (!stream) throw std::bad_alloc();
  opj_stream_set_user_data(stream.get(), &mem, nullptr);
  opj_stream_set_user_data_length(stream.get(), data.size());
  opj_stream_set_read_function(stream.get(), MemRead);
  opj_stream_set_skip_function(stream.get(), MemSkip);
  opj_stream_set_seek_function(stream.get(), MemSeek);

  opj_image_t* raw = nullptr;
  if (!opj_read_header(stream.get(), codec.get(), &raw)) throw FormatError(m.error.empty() ? "Bad JPEG 2000 header" : m.error);
  TImagePtr image(raw);
  CheckPictureSize(std::int64_t(image->x1) - image->x0, std::int64_t(image->y1) - image->y0);
  if (image->numcomps == 0 || image->numcomps > 4) throw FormatError("Unsupported JPEG 2000 component count");
  if (!opj_decode(codec.get(), stream.get(), image.get()) || !opj_end_decompress(codec.get(), stream.get()))
    throw FormatError(m.error.empty() ? "Cannot decode JPEG 2000 data" : m.error);

  const opj_image_comp_t& c0 = image->comps[0];
  const int w = int(c0.w), h = int(c0.h);
  CheckPictureSize(w, h);
  const bool colour = image->numcomps >= 3;
  for (OPJ_UINT32 k = 0; k < (colour ? 3u : 1u); ++k) {
    const opj_image_comp_t& c = image->comps[k];
    if (!c.data || c.dx == 0 || c.dy == 0 || c.prec == 0 || c.prec > 31 ||
        std::int64_t(c.w) * c.dx < std::int64_t(w) * c0.dx || std::int64_t(c.h) * c.dy < std::int64_t(h) * c0.dy)
      throw FormatError("Unsupported JPEG 2000 component layout");
  }
  TPictureBitmap result(w, h);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* out = result.Row(y);
    for (int x = 0; x < w; ++x, out += 3) {
      std::uint8_t v[3];
      for (int k = 0; k < 3; ++k) {
        const opj_image_comp_t& c = image->comps[colour ? k : 0];
        // Subsampled components: the sample covering this pixel.
        const std::size_t cx = std::min<std::size_t>(std::size_t(x) * c0.dx / c.dx, c.w - 1);
        const std::size_t cy = std::min<std::size_t>(std::size_t(y) * c0.dy / c.dy, c.h - 1);
        v[k] = Sample(c, c.data[cy * c.w + cx]);
      }
      out[0] = v[2];
      out[1] = v[1];
      out[2] = v[0];
    }
  }
  params.bits_per_sample = int(std::min<OPJ_UINT32>(c0.prec, 16));
  params.samples_per_pixel = int(image->numcomps);
  params.j2k_color_space = colour ? TJ2kColorSpace::Rgb : TJ2kColorSpace::Gray;
  picture = std::move(result);
}

namespace {

void WriteJpeg2000As(OPJ_CODEC_FORMAT format, std::FILE* file, const TPictureBitmap& picture,
                     const TIOParams& params) {
  // Grey only when asked for, or when the picture is grey anyway.
  const TColorRequest request{params.j2k_color_space == TJ2kColorSpace::Gray ? TColorLayout::Grey
                                                                              : TColorLayout::Rgb,
                              8, J2kColorSpaceFromFile(params)};
  const bool gray = DecideColors(picture, request, TWriterColors{false, true, 0, true}).layout ==
                    TColorLayout::Grey;
  const int comps = gray ? 1 : 3;
  opj_image_cmptparm_t cp[3];
  std::memset(cp, 0, sizeof cp);
  for (int k = 0; k < comps; ++k) {
    cp[k].dx = cp[k].dy = 1;
    cp[k].w = OPJ_UINT32(picture.Width());
    cp[k].h = OPJ_UINT32(picture.Height());
    cp[k].prec = 8;
    cp[k].sgnd = 0;
  }
  TImagePtr image(opj_image_create(OPJ_UINT32(comps), cp, gray ? OPJ_CLRSPC_GRAY : OPJ_CLRSPC_SRGB));
  if (!image) throw std::bad_alloc();
  image->x1 = OPJ_UINT32(picture.Width());
  image->y1 = OPJ_UINT32(picture.Height());
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const TColor c = picture.Pixel(x, y);
      const std::size_t i = std::size_t(y) * picture.Width() + x;
      if (gray) {
        image->comps[0].data[i] = (RedOf(c) * 299 + GreenOf(c) * 587 + BlueOf(c) * 114 + 500) / 1000;
      } else {
        image->comps[0].data[i] = RedOf(c);
        image->comps[1].data[i] = GreenOf(c);
        image->comps[2].data[i] = BlueOf(c);
      }
    }
  }

  opj_cparameters_t cparams;
  opj_set_default_encoder_parameters(&cparams);
  cparams.tcp_numlayers = 1;
  cparams.cp_disto_alloc = 1;
  if (params.j2k_rate >= 1.0 || !(params.j2k_rate > 0)) {
    cparams.tcp_rates[0] = 0;  // lossless
    cparams.irreversible = 0;
  } else {
    cparams.tcp_rates[0] = float(1.0 / params.j2k_rate);
    cparams.irreversible = 1;
  }
  cparams.prog_order = params.j2k_progression == TJ2kProgression::Rlcp ? OPJ_RLCP : OPJ_LRCP;
  cparams.tcp_mct = gray ? 0 : 1;
  // Small pictures cannot take the default five resolution levels.
  int levels = 6;
  while (levels > 1 && ((picture.Width() >> (levels - 1)) < 1 || (picture.Height() >> (levels - 1)) < 1)) --levels;
  cparams.numresolution = levels;

  TOpjMessages m;
  TCodecPtr codec(opj_create_compress(format));
  if (!codec) throw std::bad_alloc();
  Quiet(codec.get(), m);
  if (!opj_setup_encoder(codec.get(), &cparams, image.get()))
    throw FormatError(m.error.empty() ? "Cannot set up the JPEG 2000 encoder" : m.error);
  opj_codec_set_threads(codec.get(), 2);
  TStreamPtr stream(opj_stream_create(1 << 16, OPJ_FALSE));
  if (!stream) throw std::bad_alloc();
  opj_stream_set_user_data(stream.get(), file, nullptr);
  opj_stream_set_write_function(stream.get(), FileWrite);
  opj_stream_set_skip_function(stream.get(), FileSkip);
  opj_stream_set_seek_function(stream.get(), FileSeek);
  if (!opj_start_compress(codec.get(), image.get(), stream.get()) || !opj_encode(codec.get(), stream.get()) ||
      !opj_end_compress(codec.get(), stream.get()))
    throw FormatError(m.error.empty() ? "Cannot encode JPEG 2000 data" : m.error);
}

}  // namespace

void WriteJp2(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  WriteJpeg2000As(OPJ_CODEC_JP2, file, picture, params);
}

void WriteJ2k(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  WriteJpeg2000As(OPJ_CODEC_J2K, file, picture, params);
}

}  // namespace vistrel
