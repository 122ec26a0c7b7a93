// The processing operations, described once: name, accepted pixel formats,
// the area they change, their arguments, undo caption and the function that
// does the work. TPictureProc runs them; the command line and the picture
// window's commands find them here by name.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "imaging/operations/op_args.h"
#include "imaging/operations/progress.h"
#include "imaging/picture_bitmap.h"
#include "imaging/picture_mask.h"

namespace vistrel {

enum class TOpFormats { Any, Color24, Mono1 };

enum class TOpArea {
  Selection,      // the selected pixels, or the whole picture without a selection
  SelectionOnly,  // the selected pixels; without a selection nothing changes
  SelectionBox,   // reads the selection's bounding box (or the whole picture)
  Whole,          // the whole picture
};

struct TOpContext {
  const TPictureBitmap& picture;  // the whole picture as it was before
  const TPictureMask* mask;       // the selection, nullptr without one
  TColor background;              // fills uncovered and cleared pixels
  TProgress& progress;
};

struct TOperation {
  std::string_view name;
  TOpFormats formats;
  TOpArea area;
  std::span<const TArgSpec> args;
  // Undo caption for these arguments; nullptr: the operation pushes none.
  std::string (*caption)(const TOpArgs& args);
  // Further gate beyond format and argument ranges (nullptr: none).
  bool (*accepts)(const TPictureBitmap& picture, const TOpArgs& args);
  // Changes `target`: the whole picture, or for selection-limited
  // operations with a selection a copy of the selection's box. Returns the
  // operation's result (CountColors), else 0. Must leave `target` as it was
  // when it raises an error.
  std::int64_t (*apply)(TPictureBitmap& target, const TOpContext& context, const TOpArgs& args);
};

std::span<const TOperation> Operations();
const TOperation* FindOperation(std::string_view name);

// True when the operation takes pictures of this format.
bool AcceptsFormat(const TOperation& op, const TPictureBitmap& picture);

}  // namespace vistrel
