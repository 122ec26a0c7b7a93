// The keys of section "Setup\OtherOptions", in the two groups that read and
// write them at different moments: the tray group (read once at start) and
// the picture-window group (read and written around every picture window).
// Key names appear only in other_options.cpp.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace vistrel {

inline constexpr const char* kOtherOptionsSection = "Setup\\OtherOptions";

// What the defaults depend on, taken from the desktop at reading time.
struct OptionDefaults {
  std::string pictures_folder = "/tmp/";  // ends with a separator
  int desktop_left = 0, desktop_top = 0, desktop_width = 1024, desktop_height = 768;
  int screen_width = 1024, screen_height = 768;  // the primary monitor
  double now = 0;                                // the current date and time
};

struct TrayOptions {
  std::string AutoFolder;
  std::string AutoFileName = "Picture";
  bool AutoNumbering = true;
  std::string AutoExtention = "png";
  bool AutoStartOn = false;
  bool AutoEndOn = false;
  double AutoStart = 0;
  double AutoEnd = 0;
  double AutoIntTime = 0.00035;
  bool TimerEnabled = false;
  bool DirectPrint = false;

  static TrayOptions Load(const SettingsStore& store, const OptionDefaults& defaults);
  // TimerEnabled and DirectPrint: written only when the program exits.
  void SaveExitKeys(SettingsStore& store) const;
  // The other nine: written by every picture window when it is destroyed.
  void SaveSharedKeys(SettingsStore& store) const;
  // The capture timer's interval: the time of day of AutoIntTime, at least
  // ten seconds.
  long long CaptureIntervalMs() const;
  // Whether a timer tick at `now` captures: not before an enabled start,
  // not at or after an enabled end.
  bool TimedCaptureDue(double now) const;
};

struct PictureWindowOptions {
  bool Monitor[5] = {true, false, false, false, false};  // Monitor_0 .. Monitor_4
  bool Quality_Zoom = true;
  bool Quality_Rotate = true;
  bool Client_Area = false;
  bool Auto_Clipboard = false;
  bool IncludeCursor = false;
  bool Sound = true;
  std::string LoadFolder;
  std::string SaveFolder;
  std::string FooterText = "Vistrel-Pro";
  bool CloseAfterPrint = false;
  bool AutoCrop = true;
  bool DefGifVer89 = true;
  bool DefGifTransp = false;
  int DefGifBColor = 0;
  int DefGifTColor = 0;
  bool DefJpgOptimal = false;
  int DefJpgQuality = 85;
  int DefJpgSmooth = 0;
  int DefPngComp = 5;
  int DefPngBColor = 0;
  int CustomW = 100;
  int CustomH = 100;
  bool CenteredView = true;
  bool ShowInfo = true;
  std::vector<std::string> LoadHistory;  // Load_History_Count, History_Line0 ...
  int ResampleFilter = 1;
  int CustomLeft = 0, CustomTop = 0, CustomRight = 0, CustomBottom = 0;
  int OldWinLeft = 0, OldWinTop = 0, OldWinRight = 0, OldWinBottom = 0;
  int MainFormLeft = 0, MainFormTop = 0;
  int MainFormWidth = 636, MainFormHeight = 434;
  int MainFormState = 1;

  static PictureWindowOptions Load(const SettingsStore& store, const OptionDefaults& defaults);
  void Save(SettingsStore& store) const;
};

// The free-hand pen, read and written by each drawing command.
struct PenOptions {
  int PenColor = 0;
  int PenSize = 2;
  static PenOptions Load(const SettingsStore& store);
  void Save(SettingsStore& store) const;
};

}  // namespace vistrel

namespace vistrel {

inline constexpr const char* kTextOptionsSection = "Setup\\TextOptions";

// The text editor's font and text, section "Setup\TextOptions".
struct TextOptions {
  std::string FontName = "Arial";
  int FontSize = 10;   // points; a stored size outside 1..1000 reads as 10
  int FontColor = 0;   // 0x00BBGGRR
  int FontStyle = 0;   // 0 regular, 1 bold, 2 italic, 3 underline, 4 strikeout, 5 bold italic
  std::string UserText = "Sample Text";  // each displayed line followed by CR LF

  static TextOptions Load(const SettingsStore& store);
  void Save(SettingsStore& store) const;
};

}  // namespace vistrel
