// The annotation toolbar's last choices, section "Setup\AnnotateOptions":
// what the next mark is drawn with. Key names appear only in the .cpp.
#pragma once

#include <string>

#include "imaging/picture_bitmap.h"
#include "settings/settings_store.h"

namespace vistrel {

inline constexpr const char* kAnnotateOptionsSection = "Setup\\AnnotateOptions";

struct AnnotateOptions {
  static constexpr int kMinWidth = 1;
  static constexpr int kMaxWidth = 40;
  static constexpr int kMinFontSize = 6;
  static constexpr int kMaxFontSize = 400;

  TColor Color = MakeColor(255, 0, 0);
  // The highlighter keeps a colour of its own: yellow marks, red outlines.
  TColor HighlighterColor = MakeColor(255, 255, 0);
  int Width = 3;
  std::string Font;  // empty: the desktop's default family
  int FontSize = 24;  // picture pixels
  bool ShowToolbar = true;

  // Values out of range (a hand-edited file) fall back to the defaults.
  static AnnotateOptions Load(const SettingsStore& store);
  void Save(SettingsStore& store) const;
};

}  // namespace vistrel
