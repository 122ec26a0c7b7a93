// Owning pointer for the malloc'd replies xcb hands out.
#pragma once

#include <cstdlib>
#include <memory>

namespace vistrel {

struct XcbFree {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, XcbFree>;

}  // namespace vistrel
