// Enhanced metafiles (.emf), turned into SVG by libemf2svg and drawn by
// librsvg (svg_render) at the metafile's own size over white.
#include <emf2svg.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/formats/metafile_draw.h"
#include "imaging/formats/metafile_size.h"
#include "imaging/formats/svg_render.h"

namespace vistrel {
namespace {

// Size in pixels from the EMF header: the bounds, or else the frame given
// in hundredths of a millimetre.
void EmfSize(TByteSpan data, std::int64_t& width, std::int64_t& height) {
  TByteReader r(data);
  if (r.LE32() != 1) throw FormatError("Not an enhanced metafile");
  r.Skip(4);
  const std::int32_t bl = std::int32_t(r.LE32()), bt = std::int32_t(r.LE32());
  const std::int32_t br = std::int32_t(r.LE32()), bb = std::int32_t(r.LE32());
  const std::int32_t fl = std::int32_t(r.LE32()), ft = std::int32_t(r.LE32());
  const std::int32_t fr = std::int32_t(r.LE32()), fb = std::int32_t(r.LE32());
  if (r.LE32() != 0x464D4520) throw FormatError("Not an enhanced metafile");
  width = std::int64_t(br) - bl + 1;
  height = std::int64_t(bb) - bt + 1;
  if (width <= 1 || height <= 1) {
    width = (std::int64_t(fr) - fl) * std::int64_t(kMetafileDpi) / 2540;
    height = (std::int64_t(fb) - ft) * std::int64_t(kMetafileDpi) / 2540;
  }
}

}  // namespace

void DrawEmf(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  std::int64_t width = 0, height = 0;
  EmfSize(data, width, height);
  CheckPictureSize(width, height);
  generatorOptions options{};
  options.nameSpace = const_cast<char*>("svg");
  options.svgDelimiter = true;
  options.emfplus = true;
  options.imgWidth = double(width);
  options.imgHeight = double(height);
  std::vector<char> copy(data.begin(), data.end());
  char* svg = nullptr;
  std::size_t svg_length = 0;
  const int ok = emf2svg(copy.data(), copy.size(), &svg, &svg_length, &options);
  std::unique_ptr<char, decltype(&std::free)> svg_owner(svg, &std::free);
  if (!ok || !svg) throw FormatError("Cannot read the enhanced metafile");

  TPictureBitmap result = RenderSvgOverWhite(std::string_view(svg, svg_length), int(width), int(height));
  params.bits_per_sample = 8;
  params.samples_per_pixel = 3;
  params.dpi_x = params.dpi_y = int(kMetafileDpi);
  picture = std::move(result);
}

}  // namespace vistrel
