// Windows metafiles (.wmf), turned into SVG by libwmf and drawn by
// librsvg (svg_render) at the metafile's own size over white.
#include <string>
#include <vector>

#include "imaging/formats/libwmf_svg.h"
#include "imaging/formats/metafile_draw.h"
#include "imaging/formats/metafile_size.h"
#include "imaging/formats/svg_render.h"
#include "imaging/formats/wmf_header.h"

// libwmf's headers define short macros (U8, ...): they come last.
#include <libwmf/api.h>
#include <libwmf/svg.h>

namespace vistrel {
namespace {

struct TWmfApi {
  wmfAPI* api = nullptr;
  bool opened = false;
  ~TWmfApi() {
    if (opened) wmf_mem_close(api);
    if (api) wmf_api_destroy(api);
  }
};

void Check(wmf_error_t err, const char* what) {
  if (err != wmf_E_None) throw FormatError(what);
}

}  // namespace

void DrawWmf(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  CheckWmfRecords(data);
  TWmfApi w;
  wmfAPI_Options options{};
  options.function = wmf_svg_function;
  const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  Check(wmf_api_create(&w.api, flags, &options), "Cannot start the metafile player");
  std::vector<unsigned char> copy(data.begin(), data.end());  // libwmf wants a writable buffer
  Check(wmf_mem_open(w.api, copy.data(), long(copy.size())), "Not a Windows metafile");
  w.opened = true;
  wmfD_Rect bbox{};
  Check(wmf_scan(w.api, 0, &bbox), "Not a Windows metafile");
  unsigned int width = 0, height = 0;
  Check(wmf_display_size(w.api, &width, &height, kMetafileDpi, kMetafileDpi), "Metafile without a size");
  CheckPictureSize(width, height);
  // The scan bounds only what is drawn, in points; the picture shows the
  // whole metafile frame.
  unsigned int frame_w = 0, frame_h = 0;
  Check(wmf_display_size(w.api, &frame_w, &frame_h, 72, 72), "Metafile without a size");
  bbox.TL.x = bbox.TL.y = 0;
  bbox.BR.x = float(frame_w);
  bbox.BR.y = float(frame_h);
  wmf_svg_t* svg = WMF_SVG_GetData(w.api);
  svg->out = wmf_stream_create(w.api, nullptr);
  if (!svg->out) throw std::bad_alloc();
  svg->bbox = bbox;
  svg->width = width;
  svg->height = height;
  svg->flags |= WMF_SVG_INLINE_IMAGES;
  const wmf_error_t played = wmf_play(w.api, 0, &bbox);
  char* text = nullptr;
  unsigned long length = 0;
  wmf_stream_destroy(w.api, svg->out, &text, &length);
  svg->out = nullptr;
  if (played != wmf_E_None || !text) throw FormatError("Cannot draw the metafile");
  // libwmf frees its buffers with the player, so copy the text first.
  const std::string document(text, length);
  picture = RenderSvgOverWhite(RepairLibwmfSvg(document), int(width), int(height));
  params.bits_per_sample = 8;
  params.samples_per_pixel = 3;
  params.dpi_x = params.dpi_y = int(kMetafileDpi);
}

}  // namespace vistrel
