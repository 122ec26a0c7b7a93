// Rules of the editing commands that need no window: the resize presets,
// the Undo caption, the pen-width answer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "imaging/operations/resample.h"

namespace vistrel {

// One "Resize to W x H" command of the command set.
struct TResizePreset {
  int command;  // ActionN
  int width;
  int height;
};

inline constexpr TResizePreset kResizePresets[] = {
    {35, 640, 480}, {36, 800, 600},  {37, 1024, 768},  {38, 1280, 1024},
    {40, 768, 576}, {41, 1152, 864}, {42, 1600, 1200},
};

// The filter a resize preset passes: the chosen quality filter while
// "Quality zoom" is on, nearest pixels otherwise.
TResampleFilter PresetFilter(bool quality_zoom, TResampleFilter chosen);

// "Undo (n)" with at least one entry, else "Undo".
std::string UndoCaption(int depth);

// The "Pen Width" answer: nullopt when it is not a whole number (ask
// again); a whole number outside 1..10 becomes 2.
std::optional<int> PenWidthFromAnswer(std::string_view answer);

inline constexpr int kDefaultPenWidth = 2;

}  // namespace vistrel
