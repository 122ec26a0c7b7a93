// The shared commands: one row per command of the tray form's command set,
// with its caption, shortcut and initial state. The tray menu and the
// picture window's menus and toolbar all show these same commands.
#pragma once

#include <span>
#include <string_view>

namespace vistrel {

// The commands by name (ActionN's number N). Code names a command only
// through these.
namespace cmd {
inline constexpr int kAbout = 1;
inline constexpr int kTerminate = 2;
inline constexpr int kStandardEditing = 3;
inline constexpr int kOptimizePrinting = 4;
inline constexpr int kCopy = 5;
inline constexpr int kPaste = 6;
inline constexpr int kCut = 7;
inline constexpr int kCrop = 8;
inline constexpr int kGrayscalePrinting = 9;
inline constexpr int kGrayscaleColors = 11;
inline constexpr int kInvertColors = 12;
inline constexpr int kHorizontalMirror = 13;
inline constexpr int kVerticalMirror = 14;
inline constexpr int kUndo = 15;
inline constexpr int kSharpen = 16;
inline constexpr int kQualityRotate = 19;
inline constexpr int kQualityZoom = 20;
inline constexpr int kClientAreaOnly = 21;
inline constexpr int kAdvancedEditing = 22;
inline constexpr int kSelectCircular = 23;
inline constexpr int kPrintPicture = 24;
inline constexpr int kInsertText = 25;
inline constexpr int kFreeHandDraw = 26;
inline constexpr int kSound = 27;
inline constexpr int kRotate90 = 28;
inline constexpr int kBrightness = 29;
inline constexpr int kContrast = 30;
inline constexpr int kAutomaticToClipboard = 31;
inline constexpr int kResetAndExit = 32;
inline constexpr int kFooterText = 33;
inline constexpr int kCloseAfterPrint = 34;
inline constexpr int kResize640 = 35;
inline constexpr int kResize800 = 36;
inline constexpr int kResize1024 = 37;
inline constexpr int kResize1280 = 38;
inline constexpr int kIncludeCursor = 39;
inline constexpr int kResize768 = 40;
inline constexpr int kResize1152 = 41;
inline constexpr int kResize1600 = 42;
inline constexpr int kAutomaticSave = 43;
inline constexpr int kOpen = 44;
inline constexpr int kTypeDefaults = 45;
inline constexpr int kShowInfoMessage = 46;
inline constexpr int kSendEMail = 47;
inline constexpr int kDirectPrinting = 48;
inline constexpr int kAutoCrop = 50;
inline constexpr int kSuspend = 51;
}  // namespace cmd

struct TCommandRow {
  int number;                 // ActionN
  std::string_view caption;
  std::string_view shortcut;  // Qt key sequence text, empty for none
  bool checkable;
  bool checked;               // at process start
  bool enabled;               // at process start
};

// In the order the captions are set at start.
std::span<const TCommandRow> CommandTable();

// Commands that do nothing while the picture window is busy.
bool RefusedWhilePictureBusy(int number);


// Copy, Paste and Cut: switched off while a dialog with text fields is
// open, so that Ctrl+C, Ctrl+V and Ctrl+X reach the dialog.
inline constexpr int kClipboardCommands[] = {cmd::kCopy, cmd::kPaste, cmd::kCut};

}  // namespace vistrel
