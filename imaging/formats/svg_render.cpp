#include "imaging/formats/svg_render.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>

#include "imaging/formats/format_support.h"

namespace vistrel {
namespace {

struct TGFree {
  void operator()(void* p) const { g_object_unref(p); }
};

[[noreturn]] void Fail(GError* error) {
  const std::string message = error ? error->message : "Cannot draw the metafile";
  if (error) g_error_free(error);
  throw FormatError(message);
}

// Cuts a frame too large to allocate freely to the drawing's ink.
void BoundFrameByInk(RsvgHandle* handle, int& w, int& h) {
  if (std::int64_t(w) * h <= kMetafileFreeFramePixels) return;
  GError* error = nullptr;
  const RsvgRectangle viewport{0, 0, double(w), double(h)};
  RsvgRectangle ink{};
  if (!rsvg_handle_get_geometry_for_layer(handle, nullptr, &viewport, &ink, nullptr, &error)) Fail(error);
  const double right = std::min(double(w), std::ceil(ink.x + ink.width));
  const double bottom = std::min(double(h), std::ceil(ink.y + ink.height));
  if (!(right >= 1 && bottom >= 1 && ink.width > 0 && ink.height > 0))
    throw FormatError("The metafile draws nothing in its frame");
  w = int(right);
  h = int(bottom);
}

}  // namespace

std::string WithFontSizesCapped(std::string_view svg) {
  static constexpr std::string_view kKey = "font-size";
  std::string out;
  std::size_t done = 0, at = 0;
  while ((at = svg.find(kKey, at)) != std::string_view::npos) {
    std::size_t p = at + kKey.size();
    while (p < svg.size() && (svg[p] == ' ' || svg[p] == ':' || svg[p] == '=' || svg[p] == '"' || svg[p] == '\''))
      ++p;
    double size = 0;
    const auto [end, ec] = std::from_chars(svg.data() + p, svg.data() + svg.size(), size);
    at = p;
    if (ec != std::errc() || !(size > kMaxFontSize)) continue;
    out += svg.substr(done, p - done);
    out += std::to_string(int(kMaxFontSize));
    done = at = std::size_t(end - svg.data());
  }
  out += svg.substr(done);
  return out;
}

TPictureBitmap RenderSvgOverWhite(std::string_view svg, int w, int h) {
  CheckPictureSize(w, h);
  GError* error = nullptr;
  const std::string document = WithFontSizesCapped(svg);
  std::unique_ptr<RsvgHandle, TGFree> handle(rsvg_handle_new_from_data(
      reinterpret_cast<const guint8*>(document.data()), document.size(), &error));
  if (!handle) Fail(error);
  const int w0 = w, h0 = h;
  BoundFrameByInk(handle.get(), w, h);
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h), &cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) throw std::bad_alloc();
  std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), &cairo_destroy);
  cairo_set_source_rgb(cr.get(), 1, 1, 1);
  cairo_paint(cr.get());
  // The viewport keeps the whole frame: a cut frame only loses its empty
  // right and bottom.
  const RsvgRectangle viewport{0, 0, double(w0), double(h0)};
  if (!rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &error)) Fail(error);
  cairo_surface_flush(surface.get());
  const unsigned char* base = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  TPictureBitmap result(w, h);
  for (int y = 0; y < h; ++y) {
    const std::uint32_t* px = reinterpret_cast<const std::uint32_t*>(base + std::size_t(y) * stride);
    std::uint8_t* out = result.Row(y);
    for (int x = 0; x < w; ++x, out += 3) {
      out[0] = std::uint8_t(px[x]);
      out[1] = std::uint8_t(px[x] >> 8);
      out[2] = std::uint8_t(px[x] >> 16);
    }
  }
  return result;
}

}  // namespace vistrel
