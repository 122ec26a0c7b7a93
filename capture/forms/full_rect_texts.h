// Texts of the frozen-desktop selection window.
#pragma once

namespace vistrel::full_rect_texts {

inline constexpr const char* kFirstHint = "Drag Rectangle or Right click for more Rectangles";
inline constexpr const char* kSelectionHint =
    "Move selection with the mouse\r\nor use size grips on Rectangle\r\nESC or ENTER to exit";
inline constexpr const char* kRectangles = "Rectangles";
inline constexpr const char* kDesktopSize = "Desktop Size";
inline constexpr const char* kCropSelection = "Crop Selection";
inline constexpr const char* kExit = "Exit";

}  // namespace vistrel::full_rect_texts
