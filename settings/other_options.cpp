#include "settings/other_options.h"

#include "settings/date_time.h"

#include <algorithm>

namespace vistrel {

namespace {
const std::string S = kOtherOptionsSection;
// The load history has ten slots; a damaged count reads no more than that.
constexpr int kMaxHistory = 10;
}  // namespace

TrayOptions TrayOptions::Load(const SettingsStore& st, const OptionDefaults& d) {
  TrayOptions o;
  o.AutoFolder = st.ReadString(S, "AutoFolder", d.pictures_folder);
  o.AutoFileName = st.ReadString(S, "AutoFileName", o.AutoFileName);
  o.AutoNumbering = st.ReadBool(S, "AutoNumbering", o.AutoNumbering);
  o.AutoExtention = st.ReadString(S, "AutoExtention", o.AutoExtention);
  o.AutoStartOn = st.ReadBool(S, "AutoStartOn", o.AutoStartOn);
  o.AutoEndOn = st.ReadBool(S, "AutoEndOn", o.AutoEndOn);
  o.AutoStart = st.ReadDateTime(S, "AutoStart", d.now);
  o.AutoEnd = st.ReadDateTime(S, "AutoEnd", d.now);
  o.AutoIntTime = st.ReadDateTime(S, "AutoIntTime", o.AutoIntTime);
  o.TimerEnabled = st.ReadBool(S, "TimerEnabled", o.TimerEnabled);
  o.DirectPrint = st.ReadBool(S, "DirectPrint", o.DirectPrint);
  return o;
}

void TrayOptions::SaveExitKeys(SettingsStore& st) const {
  st.WriteBool(S, "TimerEnabled", TimerEnabled);
  st.WriteBool(S, "DirectPrint", DirectPrint);
}

void TrayOptions::SaveSharedKeys(SettingsStore& st) const {
  st.WriteString(S, "AutoFolder", AutoFolder);
  st.WriteString(S, "AutoFileName", AutoFileName);
  st.WriteBool(S, "AutoNumbering", AutoNumbering);
  st.WriteString(S, "AutoExtention", AutoExtention);
  st.WriteBool(S, "AutoStartOn", AutoStartOn);
  st.WriteBool(S, "AutoEndOn", AutoEndOn);
  st.WriteDateTime(S, "AutoStart", AutoStart);
  st.WriteDateTime(S, "AutoEnd", AutoEnd);
  st.WriteDateTime(S, "AutoIntTime", AutoIntTime);
}

long long TrayOptions::CaptureIntervalMs() const {
  // The timer dialog never lets the interval below ten seconds; a value set
  // outside the program gets the same floor, so the timer cannot run flat out.
  return std::max<long long>(TimeOfDayMs(AutoIntTime), 10000);
}

bool TrayOptions::TimedCaptureDue(double now) const {
  if (AutoStartOn && now < AutoStart) return false;
  if (AutoEndOn && now >= AutoEnd) return false;
  return true;
}

PictureWindowOptions PictureWindowOptions::Load(const SettingsStore& st, const OptionDefaults& d) {
  PictureWindowOptions o;
  for (int i = 0; i < 5; ++i)
    o.Monitor[i] = st.ReadBool(S, "Monitor_" + std::to_string(i), o.Monitor[i]);
  o.Quality_Zoom = st.ReadBool(S, "Quality_Zoom", o.Quality_Zoom);
  o.Quality_Rotate = st.ReadBool(S, "Quality_Rotate", o.Quality_Rotate);
  o.Client_Area = st.ReadBool(S, "Client_Area", o.Client_Area);
  o.Auto_Clipboard = st.ReadBool(S, "Auto_Clipboard", o.Auto_Clipboard);
  o.IncludeCursor = st.ReadBool(S, "IncludeCursor", o.IncludeCursor);
  o.Sound = st.ReadBool(S, "Sound", o.Sound);
  o.LoadFolder = st.ReadString(S, "LoadFolder", d.pictures_folder);
  o.SaveFolder = st.ReadString(S, "SaveFolder", d.pictures_folder);
  o.FooterText = st.ReadString(S, "FooterText", o.FooterText);
  o.CloseAfterPrint = st.ReadBool(S, "CloseAfterPrint", o.CloseAfterPrint);
  o.AutoCrop = st.ReadBool(S, "AutoCrop", o.AutoCrop);
  o.DefGifVer89 = st.ReadBool(S, "DefGifVer89", o.DefGifVer89);
  o.DefGifTransp = st.ReadBool(S, "DefGifTransp", o.DefGifTransp);
  o.DefGifBColor = st.ReadInteger(S, "DefGifBColor", o.DefGifBColor);
  o.DefGifTColor = st.ReadInteger(S, "DefGifTColor", o.DefGifTColor);
  o.DefJpgOptimal = st.ReadBool(S, "DefJpgOptimal", o.DefJpgOptimal);
  o.DefJpgQuality = st.ReadInteger(S, "DefJpgQuality", o.DefJpgQuality);
  o.DefJpgSmooth = st.ReadInteger(S, "DefJpgSmooth", o.DefJpgSmooth);
  o.DefPngComp = st.ReadInteger(S, "DefPngComp", o.DefPngComp);
  o.DefPngBColor = st.ReadInteger(S, "DefPngBColor", o.DefPngBColor);
  o.CustomW = st.ReadInteger(S, "CustomW", o.CustomW);
  o.CustomH = st.ReadInteger(S, "CustomH", o.CustomH);
  o.CenteredView = st.ReadBool(S, "CenteredView", o.CenteredView);
  o.ShowInfo = st.ReadBool(S, "ShowInfo", o.ShowInfo);
  const int count = st.ReadInteger(S, "Load_History_Count", 0);
  for (int i = 0; i < count && i < kMaxHistory; ++i)
    o.LoadHistory.push_back(st.ReadString(S, "History_Line" + std::to_string(i), ""));
  o.ResampleFilter = st.ReadInteger(S, "ResampleFilter", o.ResampleFilter);
  o.CustomLeft = st.ReadInteger(S, "CustomLeft", d.desktop_left + 4);
  o.CustomTop = st.ReadInteger(S, "CustomTop", d.desktop_top + 4);
  // Mirrored at the desktop's far side, so that a desktop left of or above
  // the primary monitor still gets an inset rectangle.
  o.CustomRight = st.ReadInteger(S, "CustomRight",
                                 2 * d.desktop_left + d.desktop_width - o.CustomLeft);
  o.CustomBottom = st.ReadInteger(S, "CustomBottom",
                                  2 * d.desktop_top + d.desktop_height - o.CustomTop);
  // Window size first: the centred position defaults are computed from it.
  o.MainFormWidth = st.ReadInteger(S, "MainFormWidth", o.MainFormWidth);
  o.MainFormHeight = st.ReadInteger(S, "MainFormHeight", o.MainFormHeight);
  o.OldWinLeft = st.ReadInteger(S, "OldWinLeft", (d.screen_width - 636) / 2);
  o.OldWinTop = st.ReadInteger(S, "OldWinTop", (d.screen_height - 434) / 2);
  o.OldWinRight = st.ReadInteger(S, "OldWinRight", o.OldWinLeft + 636);
  o.OldWinBottom = st.ReadInteger(S, "OldWinBottom", o.OldWinTop + 434);
  o.MainFormLeft = st.ReadInteger(S, "MainFormLeft", (d.screen_width - o.MainFormWidth) / 2);
  o.MainFormTop = st.ReadInteger(S, "MainFormTop", (d.screen_height - o.MainFormHeight) / 2);
  o.MainFormState = st.ReadInteger(S, "MainFormState", o.MainFormState);
  return o;
}

void PictureWindowOptions::Save(SettingsStore& st) const {
  for (int i = 0; i < 5; ++i) st.WriteBool(S, "Monitor_" + std::to_string(i), Monitor[i]);
  st.WriteBool(S, "Quality_Zoom", Quality_Zoom);
  st.WriteBool(S, "Quality_Rotate", Quality_Rotate);
  st.WriteBool(S, "Client_Area", Client_Area);
  st.WriteBool(S, "Auto_Clipboard", Auto_Clipboard);
  st.WriteBool(S, "IncludeCursor", IncludeCursor);
  st.WriteBool(S, "Sound", Sound);
  st.WriteString(S, "LoadFolder", LoadFolder);
  st.WriteString(S, "SaveFolder", SaveFolder);
  st.WriteString(S, "FooterText", FooterText);
  st.WriteBool(S, "CloseAfterPrint", CloseAfterPrint);
  st.WriteBool(S, "AutoCrop", AutoCrop);
  st.WriteBool(S, "DefGifVer89", DefGifVer89);
  st.WriteBool(S, "DefGifTransp", DefGifTransp);
  st.WriteInteger(S, "DefGifBColor", DefGifBColor);
  st.WriteInteger(S, "DefGifTColor", DefGifTColor);
  st.WriteBool(S, "DefJpgOptimal", DefJpgOptimal);
  st.WriteInteger(S, "DefJpgQuality", DefJpgQuality);
  st.WriteInteger(S, "DefJpgSmooth", DefJpgSmooth);
  st.WriteInteger(S, "DefPngComp", DefPngComp);
  st.WriteInteger(S, "DefPngBColor", DefPngBColor);
  st.WriteInteger(S, "CustomW", CustomW);
  st.WriteInteger(S, "CustomH", CustomH);
  st.WriteBool(S, "CenteredView", CenteredView);
  st.WriteBool(S, "ShowInfo", ShowInfo);
  st.WriteInteger(S, "Load_History_Count", int(LoadHistory.size()));
  for (std::size_t i = 0; i < LoadHistory.size(); ++i)
    st.WriteString(S, "History_Line" + std::to_string(i), LoadHistory[i]);
  st.WriteInteger(S, "ResampleFilter", ResampleFilter);
  st.WriteInteger(S, "CustomLeft", CustomLeft);
  st.WriteInteger(S, "CustomTop", CustomTop);
  st.WriteInteger(S, "CustomRight", CustomRight);
  st.WriteInteger(S, "CustomBottom", CustomBottom);
  st.WriteInteger(S, "OldWinLeft", OldWinLeft);
  st.WriteInteger(S, "OldWinTop", OldWinTop);
  st.WriteInteger(S, "OldWinRight", OldWinRight);
  st.WriteInteger(S, "OldWinBottom", OldWinBottom);
  st.WriteInteger(S, "MainFormLeft", MainFormLeft);
  st.WriteInteger(S, "MainFormTop", MainFormTop);
  st.WriteInteger(S, "MainFormWidth", MainFormWidth);
  st.WriteInteger(S, "MainFormHeight", MainFormHeight);
  st.WriteInteger(S, "MainFormState", MainFormState);
}

PenOptions PenOptions::Load(const SettingsStore& st) {
  PenOptions o;
  o.PenColor = st.ReadInteger(S, "PenColor", o.PenColor);
  o.PenSize = st.ReadInteger(S, "PenSize", o.PenSize);
  return o;
}

void PenOptions::Save(SettingsStore& st) const {
  st.WriteInteger(S, "PenColor", PenColor);
  st.WriteInteger(S, "PenSize", PenSize);
}

}  // namespace vistrel

namespace vistrel {

namespace {
constexpr const char* T = kTextOptionsSection;
}

TextOptions TextOptions::Load(const SettingsStore& st) {
  TextOptions o;
  o.FontName = st.ReadString(T, "FontName", o.FontName);
  o.FontSize = st.ReadInteger(T, "FontSize", o.FontSize);
  if (o.FontSize < 1 || o.FontSize > 1000) o.FontSize = TextOptions().FontSize;
  o.FontColor = st.ReadInteger(T, "FontColor", o.FontColor);
  o.FontStyle = st.ReadInteger(T, "FontStyle", o.FontStyle);
  o.UserText = st.ReadString(T, "UserText", o.UserText);
  return o;
}

void TextOptions::Save(SettingsStore& st) const {
  st.WriteString(T, "FontName", FontName);
  st.WriteInteger(T, "FontSize", FontSize);
  st.WriteInteger(T, "FontColor", FontColor);
  st.WriteInteger(T, "FontStyle", FontStyle);
  st.WriteString(T, "UserText", UserText);
}

}  // namespace vistrel
