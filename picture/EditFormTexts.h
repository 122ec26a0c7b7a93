// The standard editing window's own texts.
#pragma once

namespace vistrel::edit_form_texts {

inline constexpr const char* kCaption = "Standard Picture Editing Window";
inline constexpr const char* kGroup = "Standard Picture Options";

inline constexpr const char* kEffects[] = {"Grayscale Colors", "Invert Colors",   "Sharpen",
                                           "Horizontal Mirror", "Vertical Mirror", "Emboss",
                                           "Turn 90\u00b0"};
inline constexpr const char* kColorDepths[] = {"B & W",      "16 Colors",  "256 Colors", "32K Colors",
                                               "65K Colors", "16M Colors", "65M Colors"};
inline constexpr const char* kSizes[] = {"Default",    "640 x 480",   "800 x 600",  "1024 x 768",
                                         "1280 x 1024", "768 x 576",  "1152 x 864", "1600 x 1200"};
inline constexpr const char* kColorDepthHint = "Change the colors";
inline constexpr const char* kSizeHint = "Resize Picture";

inline constexpr const char* kSliders[] = {"Brightness", "Contrast", "Saturation", "Red",
                                           "Green",      "Blue",     "Zoom",       "Rotation"};
inline constexpr const char* kLockHint = "Check to lock";

inline constexpr const char* kSubstituteColors = "Substitute Colors";
inline constexpr const char* kSwapColors = "Swap Colors";
inline constexpr const char* kFrameColor = "Frame Color";
inline constexpr const char* kFrameSize = "Size";
inline constexpr const char* kColorBoxHint =
    "To change color: click and drag color box to picture or right click box";

inline constexpr const char* kWidth = "Width";
inline constexpr const char* kHeight = "Height";
inline constexpr const char* kChange = "Change";
inline constexpr const char* kProportional = "Proportional";

inline constexpr const char* kSharpenMore = "Sharpen more";
inline constexpr const char* kBlurMore = "Blur more";
inline constexpr const char* kSaveAsDefault = "Save as &Default";
inline constexpr const char* kReset = "&Reset";
inline constexpr const char* kClose = "&Close";
inline constexpr const char* kAdvancedEditor = "Advanced Editor";

// An empty size field, reported as the general error for text that is not
// a number.
inline constexpr const char* kNotANumber = "'%1' is not a valid integer value";

}  // namespace vistrel::edit_form_texts
