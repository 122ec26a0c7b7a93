#include "platform/qt/system_colors.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace vistrel {

namespace {

struct TPaletteEntry {
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};

constexpr QPalette::ColorGroup kActive = QPalette::Active;

// The palette role that plays each system colour's part, by index.
constexpr std::array<TPaletteEntry, 31> kSystemColors = {{
    {kActive, QPalette::Button},           // 0 scroll bar
    {kActive, QPalette::Dark},             // 1 desktop
    {kActive, QPalette::Highlight},        // 2 active caption
    {kActive, QPalette::Mid},              // 3 inactive caption
    {kActive, QPalette::Window},           // 4 menu
    {kActive, QPalette::Base},             // 5 window
    {kActive, QPalette::Shadow},           // 6 window frame
    {kActive, QPalette::WindowText},       // 7 menu text
    {kActive, QPalette::Text},             // 8 window text
    {kActive, QPalette::HighlightedText},  // 9 caption text
    {kActive, QPalette::Button},           // 10 active border
    {kActive, QPalette::Button},           // 11 inactive border
    {kActive, QPalette::Mid},              // 12 application workspace
    {kActive, QPalette::Highlight},        // 13 highlight
    {kActive, QPalette::HighlightedText},  // 14 highlighted text
    {kActive, QPalette::Button},           // 15 button face
    {kActive, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},  // 17 grey text
    {kActive, QPalette::ButtonText},       // 18 button text
    {QPalette::Inactive, QPalette::WindowText},  // 19 inactive caption text
    {kActive, QPalette::Light},            // 20 button highlight
    {kActive, QPalette::Shadow},           // 21 3-D dark shadow
    {kActive, QPalette::Midlight},         // 22 3-D light
    {kActive, QPalette::ToolTipText},      // 23 info text
    {kActive, QPalette::ToolTipBase},      // 24 info background
    {kActive, QPalette::Button},           // 25 (unused slot)
    {kActive, QPalette::Link},             // 26 hot-tracked item
    {kActive, QPalette::Highlight},        // 27 active caption gradient
    {kActive, QPalette::Mid},              // 28 inactive caption gradient
    {kActive, QPalette::Highlight},        // 29 menu highlight
    {kActive, QPalette::Window},           // 30 menu bar
}};

}  // namespace

TRgb PaletteSystemColor(int index) {
  if (index < 0 || index >= int(kSystemColors.size())) return TRgb{};
  const TPaletteEntry entry = kSystemColors[std::size_t(index)];
  const QColor c = QGuiApplication::palette().color(entry.group, entry.role);
  return TRgb{std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
}

}  // namespace vistrel
