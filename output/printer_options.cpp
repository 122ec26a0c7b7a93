#include "output/printer_options.h"

namespace vistrel {

namespace {
constexpr const char* S = kPrinterOptionsSection;
}

TPrinterOptions TPrinterOptions::Load(const SettingsStore& st) {
  TPrinterOptions o;
  for (std::size_t i = 0; i < o.RItem.size(); ++i)
    o.RItem[i] = st.ReadBool(S, "RItem" + std::to_string(i), o.RItem[i]);
  o.RPrinter = st.ReadString(S, "RPrinter", o.RPrinter);
  o.RAlignment = st.ReadInteger(S, "RAlignment", o.RAlignment);
  o.RPortrait = st.ReadBool(S, "RPortrait", o.RPortrait);
  o.RLandscape = st.ReadBool(S, "RLandscape", o.RLandscape);
  o.RPercentPicture = st.ReadBool(S, "RPercentPicture", o.RPercentPicture);
  o.RPercentPage = st.ReadBool(S, "RPercentPage", o.RPercentPage);
  o.R8Cpi = st.ReadBool(S, "R8Cpi", o.R8Cpi);
  o.R10Cpi = st.ReadBool(S, "R10Cpi", o.R10Cpi);
  o.R12Cpi = st.ReadBool(S, "R12Cpi", o.R12Cpi);
  o.RProportional = st.ReadBool(S, "RProportional", o.RProportional);
  o.RCopies = st.ReadInteger(S, "RCopies", o.RCopies);
  o.RPercentPictureValue = st.ReadInteger(S, "RPercentPictureValue", o.RPercentPictureValue);
  o.RPercentPageValue = st.ReadInteger(S, "RPercentPageValue", o.RPercentPageValue);
  o.SmallSize = st.ReadBool(S, "SmallSize", o.SmallSize);
  o.GrayScale = st.ReadBool(S, "GrayScale", o.GrayScale);
  o.RPapersize = st.ReadInteger(S, "RPapersize", o.RPapersize);
  o.RDefaultsource = st.ReadInteger(S, "RDefaultsource", o.RDefaultsource);
  return o;
}

void TPrinterOptions::Save(SettingsStore& st) const {
  for (std::size_t i = 0; i < RItem.size(); ++i) st.WriteBool(S, "RItem" + std::to_string(i), RItem[i]);
  st.WriteString(S, "RPrinter", RPrinter);
  st.WriteInteger(S, "RAlignment", RAlignment);
  st.WriteBool(S, "RPortrait", RPortrait);
  st.WriteBool(S, "RLandscape", RLandscape);
  st.WriteBool(S, "RPercentPicture", RPercentPicture);
  st.WriteBool(S, "RPercentPage", RPercentPage);
  st.WriteBool(S, "R8Cpi", R8Cpi);
  st.WriteBool(S, "R10Cpi", R10Cpi);
  st.WriteBool(S, "R12Cpi", R12Cpi);
  st.WriteBool(S, "RProportional", RProportional);
  st.WriteInteger(S, "RCopies", RCopies);
  st.WriteInteger(S, "RPercentPictureValue", RPercentPictureValue);
  st.WriteInteger(S, "RPercentPageValue", RPercentPageValue);
  st.WriteBool(S, "SmallSize", SmallSize);
  st.WriteBool(S, "GrayScale", GrayScale);
  st.WriteInteger(S, "RPapersize", RPapersize);
  st.WriteInteger(S, "RDefaultsource", RDefaultsource);
}

}  // namespace vistrel
