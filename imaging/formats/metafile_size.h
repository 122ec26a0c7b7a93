// The resolution metafiles are drawn at.
#pragma once

namespace vistrel {

constexpr double kMetafileDpi = 96.0;

}  // namespace vistrel
