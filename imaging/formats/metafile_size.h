// The resolution metafiles are drawn at, and the helper that draws them.
#pragma once

namespace vistrel {

constexpr double kMetafileDpi = 96.0;

// Installed beside the program; "vistrel-metafile wmf|emf" reads the file
// on its standard input.
constexpr const char* kMetafileHelper = "vistrel-metafile";

}  // namespace vistrel
