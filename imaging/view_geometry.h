// Geometry of the picture view: zoom, scroll origin, centring and the
// conversion between client and picture coordinates.
//
// Each direction is handled on its own (a TViewAxis holds the picture size,
// the client size and the scroll origin along it), so every function serves
// x and y alike. Zoom is in percent. Rounding is to the nearest integer with
// halves away from zero; every result saturates to the int range, so absurd
// zooms or sizes give absurd but well-defined numbers, never overflow.
#pragma once

namespace vistrel {

struct TViewAxis {
  int picture = 0;  // picture width or height in pixels
  int client = 0;   // client area width or height
  int origin = 0;   // scroll origin: zoomed-picture pixel at the client's edge
};

// Zoom values the view accepts: positive and finite.
bool IsUsableZoom(double zoom_percent);

// Nearest integer, halves away from zero, saturated to int; NaN gives 0.
int RoundToInt(double value);

// round(picture × zoom/100), at least 0.
int ZoomedSize(int picture, double zoom_percent);

// Part of the client area the picture is drawn in: min(zoomed size, client).
int VisibleExtent(const TViewAxis& axis, double zoom_percent);

// Where the drawn picture starts in the client area: centred when `center` is
// on and the picture does not fill the client area, otherwise 0.
int ViewOffset(const TViewAxis& axis, double zoom_percent, bool center);

// First picture column (or row) shown: round(origin × picture / zoomed size).
int FirstShown(const TViewAxis& axis, double zoom_percent);

// Client → picture, not clamped: round((client - offset) / z) + first shown.
int ClientToPicture(const TViewAxis& axis, double zoom_percent, bool center, int client);

// Picture → client, not clamped: round((picture - first shown) × z) + offset.
int PictureToClient(const TViewAxis& axis, double zoom_percent, bool center, int picture);

// Picture column drawn at `d` pixels into the visible extent: the pixel whose
// client span round((p - first) × z) .. round((p + 1 - first) × z) holds d.
// Clamped to the picture.
int DrawnPictureIndex(const TViewAxis& axis, double zoom_percent, int d);

// Largest scroll origin: zoomed size - client size, 0 when the picture fits.
int MaxOrigin(const TViewAxis& axis, double zoom_percent);

// `origin` clamped to 0..MaxOrigin.
int ClampOrigin(const TViewAxis& axis, double zoom_percent, int origin);

// Origin after a zoom change that keeps the point under the client centre:
// round(round((origin + client div 2) × 100 / old) × new / 100 - client div 2),
// clamped for the new zoom.
int OriginAfterZoom(const TViewAxis& axis, double old_zoom, double new_zoom);

// Origin that brings picture pixel `picture` to the client centre, clamped.
int OriginCentredOn(const TViewAxis& axis, double zoom_percent, int picture);

// Zoom that makes the whole picture fit: the smaller of the two directions'
// (client - 2 × border) / (picture / 100). 0 (unusable) for an empty picture
// or a client area without room.
double FitZoom(int picture_w, int picture_h, int client_w, int client_h, int border);

// One wheel notch: step = max(1, round(8 × zoom / 100)); a delta ≤ 0 (towards
// the user) adds the step, a positive delta subtracts it. The caller ignores
// an unusable result.
double WheelZoom(double zoom_percent, int delta);

// Scroll bar position of an origin (origin × 100 / zoom, picture pixels) and
// the origin a scroll bar position stands for.
int ScrollBarPosition(int origin, double zoom_percent);
int OriginFromScrollBar(int position, double zoom_percent);

}  // namespace vistrel
