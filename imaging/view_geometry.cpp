#include "imaging/view_geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vistrel {

namespace {

// An already whole (or infinite) double into int, saturating.
int Saturate(double whole) {
  if (std::isnan(whole)) return 0;
  if (whole >= double(INT_MAX)) return INT_MAX;
  if (whole <= double(INT_MIN)) return INT_MIN;
  return int(whole);
}

int HalfOf(int client) { return std::max(client, 0) / 2; }

}  // namespace

bool IsUsableZoom(double zoom_percent) {
  return std::isfinite(zoom_percent) && zoom_percent > 0;
}

int RoundToInt(double value) { return Saturate(std::round(value)); }

int ZoomedSize(int picture, double zoom_percent) {
  if (picture <= 0 || !IsUsableZoom(zoom_percent)) return 0;
  return std::max(0, RoundToInt(double(picture) * zoom_percent / 100.0));
}

int VisibleExtent(const TViewAxis& axis, double zoom_percent) {
  return std::min(ZoomedSize(axis.picture, zoom_percent), std::max(axis.client, 0));
}

int ViewOffset(const TViewAxis& axis, double zoom_percent, bool center) {
  const int extent = VisibleExtent(axis, zoom_percent);
  if (!center || extent >= axis.client) return 0;
  return (axis.client - extent) / 2;
}

int FirstShown(const TViewAxis& axis, double zoom_percent) {
  const int zoomed = ZoomedSize(axis.picture, zoom_percent);
  if (zoomed <= 0) return 0;
  return RoundToInt(double(axis.origin) * double(axis.picture) / double(zoomed));
}

int ClientToPicture(const TViewAxis& axis, double zoom_percent, bool center, int client) {
  if (!IsUsableZoom(zoom_percent)) return 0;
  const double z = zoom_percent / 100.0;
  const double offset = ViewOffset(axis, zoom_percent, center);
  return Saturate(std::round((double(client) - offset) / z) + FirstShown(axis, zoom_percent));
}

int PictureToClient(const TViewAxis& axis, double zoom_percent, bool center, int picture) {
  if (!IsUsableZoom(zoom_percent)) return 0;
  const double z = zoom_percent / 100.0;
  const double first = FirstShown(axis, zoom_percent);
  return Saturate(std::round((double(picture) - first) * z) + ViewOffset(axis, zoom_percent, center));
}

int DrawnPictureIndex(const TViewAxis& axis, double zoom_percent, int d) {
  if (axis.picture <= 0 || !IsUsableZoom(zoom_percent)) return 0;
  const double z = zoom_percent / 100.0;
  // Pixel k starts at round(k × z); with halves rounded up, the last k whose
  // start is at most d is ceil((d + 0.5) / z) - 1.
  const double k = std::ceil((double(d) + 0.5) / z) - 1.0;
  const double p = double(FirstShown(axis, zoom_percent)) + k;
  return int(std::clamp(p, 0.0, double(axis.picture - 1)));
}

int MaxOrigin(const TViewAxis& axis, double zoom_percent) {
  const long long span = (long long)ZoomedSize(axis.picture, zoom_percent) - std::max(axis.client, 0);
  return span > 0 ? int(span) : 0;
}

int ClampOrigin(const TViewAxis& axis, double zoom_percent, int origin) {
  return std::clamp(origin, 0, MaxOrigin(axis, zoom_percent));
}

int OriginAfterZoom(const TViewAxis& axis, double old_zoom, double new_zoom) {
  if (!IsUsableZoom(old_zoom) || !IsUsableZoom(new_zoom)) return ClampOrigin(axis, old_zoom, axis.origin);
  const double half = HalfOf(axis.client);
  const double unzoomed = std::round((double(axis.origin) + half) * 100.0 / old_zoom);
  return ClampOrigin(axis, new_zoom, RoundToInt(unzoomed * new_zoom / 100.0 - half));
}

int OriginCentredOn(const TViewAxis& axis, double zoom_percent, int picture) {
  if (!IsUsableZoom(zoom_percent)) return ClampOrigin(axis, zoom_percent, axis.origin);
  const double zoomed = std::round(double(picture) * zoom_percent / 100.0);
  return ClampOrigin(axis, zoom_percent, Saturate(zoomed - HalfOf(axis.client)));
}

double FitZoom(int picture_w, int picture_h, int client_w, int client_h, int border) {
  if (picture_w <= 0 || picture_h <= 0) return 0;
  const double by_height = (double(client_h) - 2.0 * border) / (picture_h / 100.0);
  const double by_width = (double(client_w) - 2.0 * border) / (picture_w / 100.0);
  const double ideal = std::min(by_height, by_width);
  return ideal > 0 ? ideal : 0;
}

double WheelZoom(double zoom_percent, int delta) {
  if (!IsUsableZoom(zoom_percent)) return zoom_percent;
  const double step = std::max(1.0, std::round(8.0 * zoom_percent / 100.0));
  return delta <= 0 ? zoom_percent + step : zoom_percent - step;
}

int ScrollBarPosition(int origin, double zoom_percent) {
  if (!IsUsableZoom(zoom_percent)) return 0;
  return RoundToInt(double(origin) * 100.0 / zoom_percent);
}

int OriginFromScrollBar(int position, double zoom_percent) {
  if (!IsUsableZoom(zoom_percent)) return 0;
  return RoundToInt(double(position) * zoom_percent / 100.0);
}

}  // namespace vistrel
