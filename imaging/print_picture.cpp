#include "imaging/print_picture.h"

#include "imaging/color_quantizer.h"

namespace vistrel {

namespace {

TPrintPicture Copy24(const TPictureBitmap& picture) {
  TPrintPicture out;
  out.width = picture.Width();
  out.height = picture.Height();
  out.stride = TPictureBitmap::StrideFor(out.width, 24);
  out.pixels.assign(out.stride * std::size_t(out.height), 0);
  for (int y = 0; y < out.height; ++y) {
    std::uint8_t* dst = out.pixels.data() + std::size_t(y) * out.stride;
    if (picture.IsMono()) {
      for (int x = 0; x < out.width; ++x, dst += 3) {
        const std::uint8_t v = picture.Pixel(x, y) == kWhite ? 255 : 0;
        dst[0] = dst[1] = dst[2] = v;
      }
    } else {
      const std::uint8_t* src = picture.Row(y);
      std::copy(src, src + std::size_t(out.width) * 3, dst);
    }
  }
  return out;
}

void Grey(TPrintPicture& pic) {
  for (int y = 0; y < pic.height; ++y) {
    std::uint8_t* p = pic.pixels.data() + std::size_t(y) * pic.stride;
    for (int x = 0; x < pic.width; ++x, p += 3) p[0] = p[1] = p[2] = PrintGrey(p[2], p[1], p[0]);
  }
}

TPrintPicture Reduce(const TPrintPicture& rgb) {
  TColorQuantizer quantizer(256, 6);
  for (int y = 0; y < rgb.height; ++y) {
    const std::uint8_t* p = rgb.pixels.data() + std::size_t(y) * rgb.stride;
    for (int x = 0; x < rgb.width; ++x, p += 3) quantizer.AddColor(p[2], p[1], p[0]);
  }
  TPrintPicture out;
  out.width = rgb.width;
  out.height = rgb.height;
  out.bits = 8;
  out.stride = TPictureBitmap::StrideFor(out.width, 8);
  out.palette.assign(256, TRgbQuad{});
  quantizer.GetColorTable(out.palette);
  TPalette palette;
  for (const TRgbQuad& q : out.palette) palette.push_back(MakeColor(q.red, q.green, q.blue));
  TPaletteMapper mapper(std::move(palette));
  out.pixels.assign(out.stride * std::size_t(out.height), 0);
  for (int y = 0; y < out.height; ++y)
    mapper.MapRow(rgb.pixels.data() + std::size_t(y) * rgb.stride, out.width,
                  out.pixels.data() + std::size_t(y) * out.stride);
  return out;
}

}  // namespace

TPrintPicture PreparePrintPicture(const TPictureBitmap& picture, bool grayscale, bool optimize) {
  TPrintPicture pic = Copy24(picture);
  if (grayscale) Grey(pic);
  if (optimize) return Reduce(pic);
  return pic;
}

}  // namespace vistrel
