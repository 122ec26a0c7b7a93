#include "commands/command_table.h"

#include <algorithm>

namespace vistrel {

namespace {

constexpr TCommandRow kRows[] = {
    {cmd::kAbout, "About ...", "", false, false, true},
    {cmd::kTerminate, "Terminate Vistrel-Pro", "", false, false, true},
    {cmd::kStandardEditing, "Standard editing window", "Ctrl+E", false, false, true},
    {cmd::kCopy, "Copy to Clipboard", "Ctrl+C", false, false, true},
    {cmd::kPaste, "Paste from Clipboard", "Ctrl+V", false, false, true},
    {cmd::kCut, "Cut Selection", "Ctrl+X", false, false, false},
    {cmd::kCrop, "Crop Selection", "Ctrl+R", false, false, false},
    {cmd::kGrayscaleColors, "Grayscale colors", "Ctrl+Alt+G", false, false, true},
    {cmd::kInvertColors, "Invert Colors", "Ctrl+Alt+I", false, false, true},
    {cmd::kHorizontalMirror, "Horizontal Mirror", "Ctrl+Alt+H", false, false, true},
    {cmd::kVerticalMirror, "Vertical Mirror", "Ctrl+Alt+V", false, false, true},
    {cmd::kUndo, "Undo", "Ctrl+Z", false, false, true},
    {cmd::kSharpen, "Sharpen", "Ctrl+Alt+S", false, false, true},
    {cmd::kQualityRotate, "Quality rotate", "", true, true, true},
    {cmd::kQualityZoom, "Quality zoom", "", true, true, true},
    {cmd::kClientAreaOnly, "Client Area only", "", true, false, true},
    {cmd::kAdvancedEditing, "Advanced editing window", "Ctrl+A", false, false, true},
    {cmd::kSelectCircular, "Select Circular area", "", false, false, true},
    {cmd::kPrintPicture, "Print Picture", "Ctrl+P", false, false, true},
    {cmd::kInsertText, "Insert Text", "", false, false, true},
    {cmd::kFreeHandDraw, "Free hand draw", "", false, false, true},
    {cmd::kSound, "Sound", "", true, true, true},
    {cmd::kRotate90, "Rotate 90\u00b0", "Ctrl+Alt+R", false, false, true},
    {cmd::kBrightness, "Brightness", "Ctrl+Alt+B", false, false, true},
    {cmd::kContrast, "Contrast", "Ctrl+Alt+C", false, false, true},
    {cmd::kAutomaticToClipboard, "Automatic to Clipboard", "", true, false, true},
    {cmd::kResetAndExit, "Reset to Default and Exit", "", false, false, true},
    {cmd::kFooterText, "Footer Text", "", false, false, true},
    {cmd::kCloseAfterPrint, "Close after Print", "", true, true, true},
    {cmd::kResize640, "Resize to 640 x 480", "Ctrl+Shift+F1", false, false, true},
    {cmd::kResize800, "Resize to 800 x 600", "Ctrl+Shift+F2", false, false, true},
    {cmd::kResize1024, "Resize to 1024 x 768", "Ctrl+Shift+F3", false, false, true},
    {cmd::kResize1280, "Resize to 1280 x 1024", "Ctrl+Shift+F4", false, false, true},
    {cmd::kIncludeCursor, "Include Cursor", "", true, false, true},
    {cmd::kResize768, "Resize to 768 x 576", "Ctrl+Shift+F5", false, false, true},
    {cmd::kResize1152, "Resize to 1152 x 864", "Ctrl+Shift+F6", false, false, true},
    {cmd::kResize1600, "Resize to 1600 x 1200", "Ctrl+Shift+F7", false, false, true},
    {cmd::kAutomaticSave, "Automatic Save", "", true, false, true},
    {cmd::kOpen, "Open ...", "", false, false, true},
    {cmd::kTypeDefaults, "Save and Picture Type Defaults", "", false, false, true},
    {cmd::kShowInfoMessage, "Show Info Message", "", true, true, true},
    {cmd::kSendEMail, "Send Picture as E-Mail", "Ctrl+M", false, false, true},
    {cmd::kDirectPrinting, "Direct Printing", "", true, false, true},
    {cmd::kAutoCrop, "Auto Crop", "", true, false, true},
    {cmd::kSuspend, "Suspend", "", true, false, true},
    {cmd::kOptimizePrinting, "Optimize Printing", "", true, false, true},
    {cmd::kGrayscalePrinting, "Grayscale", "", true, false, true},
};

constexpr int kBusyRefused[] = {cmd::kAbout,        cmd::kStandardEditing,  cmd::kGrayscaleColors,
                                cmd::kInvertColors, cmd::kHorizontalMirror, cmd::kVerticalMirror,
                                cmd::kSharpen,      cmd::kAdvancedEditing,  cmd::kPrintPicture,
                                cmd::kRotate90,     cmd::kBrightness,       cmd::kContrast,
                                cmd::kResize640,    cmd::kResize800,        cmd::kResize1024,
                                cmd::kResize1280,   cmd::kResize768,        cmd::kResize1152,
                                cmd::kResize1600,   cmd::kTypeDefaults,     cmd::kSendEMail};

}  // namespace

std::span<const TCommandRow> CommandTable() { return kRows; }

bool RefusedWhilePictureBusy(int number) {
  return std::find(std::begin(kBusyRefused), std::end(kBusyRefused), number) !=
         std::end(kBusyRefused);
}

}  // namespace vistrel
