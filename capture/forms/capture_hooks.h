// Lends the picture window the captures and dialogs of the capture part.
#pragma once

namespace vistrel {

struct TPictureServices;

// "Rect.", "Object", "Define Capture Rectangle" and the custom rectangle
// size dialog.
void LendCaptures(TPictureServices& services);

}  // namespace vistrel
