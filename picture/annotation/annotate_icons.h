// Icons of the annotation tools, drawn rather than taken from the icon
// theme: no theme names an arrow tool or a pixelate tool the same way.
#pragma once

#include <QIcon>

#include "imaging/picture_bitmap.h"
#include "picture/annotation/annotation_objects.h"

namespace vistrel {

QIcon AnnotationToolIcon(TAnnotationTool tool);
// A square of the colour, for the colour button and the palette.
QIcon ColorSwatchIcon(TColor color);

}  // namespace vistrel
