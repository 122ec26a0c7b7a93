// QImage bridges of the picture view: a drawing surface over the picture's
// own rows, copies for the clipboard, and the nearest-pixel drawing of the
// visible part of a zoomed picture.
#pragma once

#include <QImage>
#include <QPoint>

#include "imaging/picture_bitmap.h"
#include "imaging/view_geometry.h"

namespace vistrel {

// A QImage over the picture's rows, without copying: Format_BGR888 for 24-bit,
// Format_Mono with the colour table black, white for 1-bit. Painting on it
// changes the picture. It is valid until the picture is reallocated, and it
// must not be copied while painting (a shared QImage detaches into a copy).
QImage WrapPicture(TPictureBitmap& picture);

// An independent copy (Format_BGR888 or Format_Mono).
QImage PictureToImage(const TPictureBitmap& picture);

// A picture from any QImage: 1-bit images stay 1-bit (a pixel is white when
// its colour is light), everything else becomes 24-bit. Raises
// PictureSizeError for images beyond the program's size limit.
TPictureBitmap PictureFromImage(const QImage& image);

// Raises Qt's limit on what its image readers decode (128 MiB) to the
// program's own picture limit, so that a picture another program puts on
// the clipboard is refused only when the program could not take it anyway.
// Called once at start.
void AllowPictureSizedImages();

// Draws the visible part of the picture into `target` (Format_RGB32) at
// `offset`: each client pixel takes the picture pixel the view's conversion
// places there (nearest pixel). Only the visible extent is read and written.
void DrawZoomedPicture(const TPictureBitmap& picture, const TViewAxis& x, const TViewAxis& y,
                       double zoom_percent, QPoint offset, QImage& target);

}  // namespace vistrel
