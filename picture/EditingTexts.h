// Texts of the editing commands, free-hand drawing and text insertion.
#pragma once

namespace vistrel::editing_texts {

// Hints of the picture view.
inline constexpr const char* kMoreOptionsHint = "Drag Rectangle or Right click for more options";
inline constexpr const char* kCircleHint = "Drag a Circular Area or Right click for advanced Options";
inline constexpr const char* kDrawHint = "Draw on Picture with Left mouse button";
inline constexpr const char* kPlaceTextHint = "Position Cursor and press Left mouse button";

// Free-hand drawing.
inline constexpr const char* kLastUsedQuestion = "Last used selections ?";
inline constexpr const char* kPenWidthCaption = "Pen Width";
inline constexpr const char* kPenWidthPrompt = "Enter Width (1-10)";

inline constexpr const char* kOutOfMemory =
    "Not enough memory for this operation. The picture was not changed.";

}  // namespace vistrel::editing_texts
