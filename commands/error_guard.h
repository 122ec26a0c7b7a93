// The one guard around every command, timer and hotkey handler: an error
// that escapes is shown in the standard error box and never reaches the Qt
// event loop.
#pragma once

#include <functional>

namespace vistrel {

void RunGuarded(const std::function<void()>& handler);

// A slot that runs `handler` inside the guard.
template <typename F>
auto Guarded(F handler) {
  return [handler](auto&&...) { RunGuarded(handler); };
}

}  // namespace vistrel
