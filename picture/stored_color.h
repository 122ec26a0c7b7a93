// Colours as the settings keep them (0x00BBGGRR) and as Qt draws them.
#pragma once

#include <QColor>

#include "imaging/picture_bitmap.h"

namespace vistrel {

inline QColor QColorFromStored(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

inline TColor StoredFromQColor(const QColor& c) {
  return MakeColor(std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()));
}

}  // namespace vistrel
