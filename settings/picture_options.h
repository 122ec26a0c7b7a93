// Section "Setup\PictureOptions": the standard editing window's recipe.
// Read when the window is created, on "&Reset" and on closing; written only
// by "Save as Default". Key names appear only in picture_options.cpp.
#pragma once

#include "settings/settings_store.h"
#include "imaging/picture_recipe.h"

namespace vistrel {

inline constexpr const char* kPictureOptionsSection = "Setup\\PictureOptions";

struct PictureOptions {
  // Damaged values come back clamped to their controls' ranges.
  static TPictureRecipe Load(const SettingsStore& store);
  static void Save(SettingsStore& store, const TPictureRecipe& recipe);
};

}  // namespace vistrel
