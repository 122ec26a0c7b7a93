#include "app/commands/command_table.h"

#include <algorithm>

namespace vistrel {

namespace {

constexpr TCommandRow kRows[] = {
    {1, "About ...", "", false, false, true},
    {2, "Terminate Vistrel-Pro", "", false, false, true},
    {3, "Standard editing window", "Ctrl+E", false, false, true},
    {5, "Copy to Clipboard", "Ctrl+C", false, false, true},
    {6, "Paste from Clipboard", "Ctrl+V", false, false, true},
    {7, "Cut Selection", "Ctrl+X", false, false, false},
    {8, "Crop Selection", "Ctrl+R", false, false, false},
    {11, "Grayscale colors", "Ctrl+Alt+G", false, false, true},
    {12, "Invert Colors", "Ctrl+Alt+I", false, false, true},
    {13, "Horizontal Mirror", "Ctrl+Alt+H", false, false, true},
    {14, "Vertical Mirror", "Ctrl+Alt+V", false, false, true},
    {15, "Undo", "Ctrl+Z", false, false, true},
    {16, "Sharpen", "Ctrl+Alt+S", false, false, true},
    {19, "Quality rotate", "", true, true, true},
    {20, "Quality zoom", "", true, true, true},
    {21, "Client Area only", "", true, false, true},
    {22, "Advanced editing window", "Ctrl+A", false, false, true},
    {23, "Select Circular area", "", false, false, true},
    {24, "Print Picture", "Ctrl+P", false, false, true},
    {25, "Insert Text", "", false, false, true},
    {26, "Free hand draw", "", false, false, true},
    {27, "Sound", "", true, true, true},
    {28, "Rotate 90\u00b0", "Ctrl+Alt+R", false, false, true},
    {29, "Brightness", "Ctrl+Alt+B", false, false, true},
    {30, "Contrast", "Ctrl+Alt+C", false, false, true},
    {31, "Automatic to Clipboard", "", true, false, true},
    {32, "Reset to Default and Exit", "", false, false, true},
    {33, "Footer Text", "", false, false, true},
    {34, "Close after Print", "", true, true, true},
    {35, "Resize to 640 x 480", "Ctrl+Shift+F1", false, false, true},
    {36, "Resize to 800 x 600", "Ctrl+Shift+F2", false, false, true},
    {37, "Resize to 1024 x 768", "Ctrl+Shift+F3", false, false, true},
    {38, "Resize to 1280 x 1024", "Ctrl+Shift+F4", false, false, true},
    {39, "Include Cursor", "", true, false, true},
    {40, "Resize to 768 x 576", "Ctrl+Shift+F5", false, false, true},
    {41, "Resize to 1152 x 864", "Ctrl+Shift+F6", false, false, true},
    {42, "Resize to 1600 x 1200", "Ctrl+Shift+F7", false, false, true},
    {43, "Automatic Save", "", true, false, true},
    {44, "Open ...", "", false, false, true},
    {45, "Save and Picture Type Defaults", "", false, false, true},
    {46, "Show Info Message", "", true, true, true},
    {47, "Send Picture as E-Mail", "Ctrl+M", false, false, true},
    {48, "Direct Printing", "", true, false, true},
    {50, "Auto Crop", "", true, false, true},
    {51, "Suspend", "", true, false, true},
    {4, "Optimize Printing", "", true, false, true},
    {9, "Grayscale", "", true, false, true},
};

constexpr int kBusyRefused[] = {1, 3, 11, 12, 13, 14, 16, 22, 24, 28, 29, 30,
                                35, 36, 37, 38, 40, 41, 42, 45, 47};

}  // namespace

std::span<const TCommandRow> CommandTable() { return kRows; }

const TCommandRow* FindCommand(int number) {
  for (const TCommandRow& row : kRows)
    if (row.number == number) return &row;
  return nullptr;
}

bool RefusedWhilePictureBusy(int number) {
  return std::find(std::begin(kBusyRefused), std::end(kBusyRefused), number) !=
         std::end(kBusyRefused);
}

}  // namespace vistrel
