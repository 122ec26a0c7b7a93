// The picture window's own texts: caption, menu items, toolbar captions and
// hints, the view's hints. The shared commands carry their captions in the
// command table (app/commands).
#pragma once

namespace vistrel::main_form_texts {

inline constexpr const char* kCaption = "   Vistrel-Pro   v1.05 ( English )";

// Menu titles.
inline constexpr const char* kFileMenu = "&File";
inline constexpr const char* kEditMenu = "Edit";
inline constexpr const char* kViewMenu = "View";
inline constexpr const char* kOptionsMenu = "&Options";
inline constexpr const char* kMonitorsMenu = "Monitors";
inline constexpr const char* kHotkeyMenu = "Hotkey";
inline constexpr const char* kHelpMenu = "&Help";
inline constexpr const char* kPictureFunctionsMenu = "Picture functions";
inline constexpr const char* kQualityFilterMenu = "Quality Filter";
inline constexpr const char* kShortcutsMenu = "Shortcuts";
inline constexpr const char* kRectanglesMenu = "Rectangles";

// The window's own menu items.
inline constexpr const char* kClose = "Close";
inline constexpr const char* kRefreshScreen = "Refresh screen";
inline constexpr const char* kLoadPicture = "Load Picture";
inline constexpr const char* kSavePicture = "Save Picture";
inline constexpr const char* kPrintPreview = "Print Preview";
inline constexpr const char* kGetPictureOfVistrel = "Get picture of Vistrel-Pro";
inline constexpr const char* kUndoSelection = "Undo Selection";
inline constexpr const char* kToolbar = "Toolbar";
inline constexpr const char* kCentered = "Centered";
inline constexpr const char* kNormalView = "Normal View";
inline constexpr const char* kFitView = "Fit View";
inline constexpr const char* kRestoreWindow = "Restore Window to Default";
inline constexpr const char* kMitchell = "Mitchell";
inline constexpr const char* kBspline = "Bspline";
inline constexpr const char* kLanczos3 = "Lanczos3";
inline constexpr const char* kBell = "Bell";
inline constexpr const char* kShortcutDesktop = "Create/Remove Shortcut on [ Desktop ]";
inline constexpr const char* kShortcutStartMenu = "Create/Remove Shortcut on [ Start Menu ]";
inline constexpr const char* kShortcutStartup = "Create/Remove Shortcut on [ Startup Folder ]";
inline constexpr const char* kAllMonitors = "All Monitors";
inline constexpr const char* kMonitor[4] = {"Monitor 1", "Monitor 2", "Monitor 3", "Monitor 4"};
inline constexpr const char* kHotkeySetup = "Setup";
inline constexpr const char* kHelp = "Vistrel-Pro Help";
inline constexpr const char* kRect16 = "16 x 16";
inline constexpr const char* kRect32 = "32 x 32";
inline constexpr const char* kRect64 = "64 x 64";
inline constexpr const char* kRect128 = "128 x 128";
inline constexpr const char* kDefineRect = "Define";
inline constexpr const char* kTimerSetup = "Timer Setup";
inline constexpr const char* kDefineCaptureRect = "Define Capture Rectangle";

// Toolbar captions and hints, left to right.
inline constexpr const char* kLoad = "Load";
inline constexpr const char* kLoadHint = "Load a Picture File";
inline constexpr const char* kSave = "Save";
inline constexpr const char* kSaveHint = "Save a Picture File";
inline constexpr const char* kEMail = "E-Mail";
inline constexpr const char* kEMailHint = "Attach the Picture to E-Mail";
inline constexpr const char* kPaste = "Paste";
inline constexpr const char* kPasteHint = "Paste a Picture from the Clipboard";
inline constexpr const char* kCopy = "Copy";
inline constexpr const char* kCopyHint = "Copy the Picture to the Clipboard";
inline constexpr const char* kCut = "Cut";
inline constexpr const char* kCutHint = "Cut the Picture or selected Portion";
inline constexpr const char* kCrop = "Crop";
inline constexpr const char* kCropHint = "Crop the Selected Portion";
inline constexpr const char* kRect = "Rect.";
inline constexpr const char* kRectHint = "Get Rectangular Area (Full screen)";
inline constexpr const char* kObject = "Object";
inline constexpr const char* kObjectHint = "Get Object from Desktop";
// Where the desktop tells no program where windows are, its own dialog picks.
inline constexpr const char* kObjectPickHint = "The desktop asks which window to capture";
inline constexpr const char* kEdit = "Edit";
inline constexpr const char* kEditHint = "The Standard Picture Editor";
inline constexpr const char* kOn = "On";
inline constexpr const char* kOff = "Off";
inline constexpr const char* kAutoSaveHint = "Automatic Save a Picture";
inline constexpr const char* kPage = "Page";
inline constexpr const char* kPageHint = "Printer Page Setup and Preview";
inline constexpr const char* kPrint = "Print";
inline constexpr const char* kPrintHint = "Print the Picture";

// Hints of the picture view.
inline constexpr const char* kDragRectangleHint = "Drag a Rectangle or Right click for advanced Options";
inline constexpr const char* kMoveSelectionGripsHint =
    "Move selection with the mouse\r\nor use size grips on Rectangle";
inline constexpr const char* kMoveSelectionHint = "Move selection with the mouse";
inline constexpr const char* kPresetRectangleHint =
    "Move selection with the mouse\r\nor use size grips on Rectangle\r\nESC or ENTER to exit";

// The first status panel when no operation runs.
inline constexpr const char* kIdlePanel = " ";

// Asked before a modified picture is closed.
inline constexpr const char* kSaveBeforeClosing = "Save the changes to the picture before closing?";

}  // namespace vistrel::main_form_texts
