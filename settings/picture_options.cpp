#include "settings/picture_options.h"

#include <string>

namespace vistrel {

namespace {

const std::string S = kPictureOptionsSection;

std::string ItemKey(int i) { return "CheckBoxItem" + std::to_string(i); }

// Colours are stored as their 0x00BBGGRR integer.
TColor ReadColor(const SettingsStore& st, const char* key, TColor def) {
  return TColor(st.ReadInteger(S, key, std::int32_t(def)));
}
void WriteColor(SettingsStore& st, const char* key, TColor c) {
  st.WriteInteger(S, key, std::int32_t(c));
}

}  // namespace

TPictureRecipe PictureOptions::Load(const SettingsStore& st) {
  TPictureRecipe r;
  for (int i = 0; i < kEffectCount; ++i)
    r.CheckBoxItem[std::size_t(i)] = st.ReadBool(S, ItemKey(i), false);
  r.ColorDepth = st.ReadInteger(S, "ColorDepth", r.ColorDepth);
  r.PictureSize = st.ReadInteger(S, "PictureSize", r.PictureSize);
  r.RBrightness = st.ReadInteger(S, "RBrightness", r.RBrightness);
  r.RContrast = st.ReadInteger(S, "RContrast", r.RContrast);
  r.RSaturation = st.ReadInteger(S, "RSaturation", r.RSaturation);
  r.RRed = st.ReadInteger(S, "RRed", r.RRed);
  r.RGreen = st.ReadInteger(S, "RGreen", r.RGreen);
  r.RBlue = st.ReadInteger(S, "RBlue", r.RBlue);
  r.RZoom = st.ReadInteger(S, "RZoom", r.RZoom);
  r.RRotation = st.ReadInteger(S, "RRotation", r.RRotation);
  r.RSubsituteColors = st.ReadBool(S, "RSubsituteColors", r.RSubsituteColors);
  r.RSubstituteColor1 = ReadColor(st, "RSubstituteColor1", r.RSubstituteColor1);
  r.RSubstituteColor2 = ReadColor(st, "RSubstituteColor2", r.RSubstituteColor2);
  r.RSwapColors = st.ReadBool(S, "RSwapColors", r.RSwapColors);
  r.RSwapColor1 = ReadColor(st, "RSwapColor1", r.RSwapColor1);
  r.RSwapColor2 = ReadColor(st, "RSwapColor2", r.RSwapColor2);
  r.RFrameColor = ReadColor(st, "RFrameColor", r.RFrameColor);
  r.RFrameSize = st.ReadInteger(S, "RFrameSize", r.RFrameSize);
  r.Clamp();
  return r;
}

void PictureOptions::Save(SettingsStore& st, const TPictureRecipe& r) {
  for (int i = 0; i < kEffectCount; ++i)
    st.WriteBool(S, ItemKey(i), r.CheckBoxItem[std::size_t(i)]);
  st.WriteInteger(S, "ColorDepth", r.ColorDepth);
  st.WriteInteger(S, "PictureSize", r.PictureSize);
  st.WriteInteger(S, "RBrightness", r.RBrightness);
  st.WriteInteger(S, "RContrast", r.RContrast);
  st.WriteInteger(S, "RSaturation", r.RSaturation);
  st.WriteInteger(S, "RRed", r.RRed);
  st.WriteInteger(S, "RGreen", r.RGreen);
  st.WriteInteger(S, "RBlue", r.RBlue);
  st.WriteInteger(S, "RZoom", r.RZoom);
  st.WriteInteger(S, "RRotation", r.RRotation);
  st.WriteBool(S, "RSubsituteColors", r.RSubsituteColors);
  WriteColor(st, "RSubstituteColor1", r.RSubstituteColor1);
  WriteColor(st, "RSubstituteColor2", r.RSubstituteColor2);
  st.WriteBool(S, "RSwapColors", r.RSwapColors);
  WriteColor(st, "RSwapColor1", r.RSwapColor1);
  WriteColor(st, "RSwapColor2", r.RSwapColor2);
  WriteColor(st, "RFrameColor", r.RFrameColor);
  st.WriteInteger(S, "RFrameSize", r.RFrameSize);
}

}  // namespace vistrel
