#include "settings/annotate_options.h"

namespace vistrel {

namespace {

constexpr const char* kSection = kAnnotateOptionsSection;

int InRange(int value, int low, int high, int fallback) {
  return value >= low && value <= high ? value : fallback;
}

TColor StoredColor(const SettingsStore& store, const char* key, TColor fallback) {
  const std::int32_t value = store.ReadInteger(kSection, key, std::int32_t(fallback));
  return value >= 0 && value <= 0xFFFFFF ? TColor(value) : fallback;
}

}  // namespace

AnnotateOptions AnnotateOptions::Load(const SettingsStore& store) {
  const AnnotateOptions d;
  AnnotateOptions o;
  o.Color = StoredColor(store, "Color", d.Color);
  o.HighlighterColor = StoredColor(store, "HighlighterColor", d.HighlighterColor);
  o.Width = InRange(store.ReadInteger(kSection, "Width", d.Width), kMinWidth, kMaxWidth, d.Width);
  o.Font = store.ReadString(kSection, "Font", d.Font);
  o.FontSize = InRange(store.ReadInteger(kSection, "FontSize", d.FontSize), kMinFontSize,
                       kMaxFontSize, d.FontSize);
  o.ShowToolbar = store.ReadBool(kSection, "ShowToolbar", d.ShowToolbar);
  return o;
}

void AnnotateOptions::Save(SettingsStore& store) const {
  store.WriteInteger(kSection, "Color", std::int32_t(Color));
  store.WriteInteger(kSection, "HighlighterColor", std::int32_t(HighlighterColor));
  store.WriteInteger(kSection, "Width", Width);
  store.WriteString(kSection, "Font", Font);
  store.WriteInteger(kSection, "FontSize", FontSize);
  store.WriteBool(kSection, "ShowToolbar", ShowToolbar);
}

}  // namespace vistrel
