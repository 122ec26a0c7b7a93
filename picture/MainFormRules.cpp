#include "picture/MainFormRules.h"

#include <algorithm>
#include <cstdint>

namespace vistrel {

TSelectionBox PresetRectangle(int width, int height, const TVisibleArea& visible) {
  width = std::max(std::min(width, visible.width), 1);
  height = std::max(std::min(height, visible.height), 1);
  const int left = visible.left + (visible.width - width) / 2;
  const int top = visible.top + (visible.height - height) / 2;
  return {left, top, left + width - 1, top + height - 1};
}

TMonitorsMenuState MonitorsMenuEnabling(int monitor_count) {
  TMonitorsMenuState state;
  if (monitor_count <= 1) return state;
  state.menu = true;
  state.all_monitors = true;
  if (monitor_count <= 4)
    for (int i = 0; i < monitor_count; ++i) state.monitor[std::size_t(i)] = true;
  return state;
}

TWindowRect DefaultWindowRect(int screen_width, int screen_height) {
  return {(screen_width - kMinWindowWidth) / 2, (screen_height - kMinWindowHeight) / 2,
          kMinWindowWidth, kMinWindowHeight};
}

TWindowRect FitWindowIntoBounds(TWindowRect w, const TScreenRect& bounds, int screen_width,
                                int screen_height) {
  if (bounds.right < w.width) w.width = 640;
  if (bounds.bottom < w.height) w.height = 480;
  // Stored values can be anything: add in 64 bits.
  if (bounds.right < std::int64_t(w.width) + w.left) w.left = (screen_width - w.width) / 2;
  if (bounds.bottom < std::int64_t(w.height) + w.top) w.top = (screen_height - w.height) / 2;
  return w;
}

TWindowShow WindowShowFromStored(int stored) {
  return stored == 2 ? TWindowShow::Maximised : TWindowShow::Normal;
}

int StoredWindowShow(TWindowShow show) {
  switch (show) {
    case TWindowShow::Maximised: return 2;
    case TWindowShow::Minimised: return 0;
    case TWindowShow::Normal: break;
  }
  return 1;
}

namespace {
constexpr TResampleFilter kMenuFilters[] = {TResampleFilter::rfMitchell, TResampleFilter::rfBSpline,
                                            TResampleFilter::rfLanczos3, TResampleFilter::rfBell};
}  // namespace

std::optional<TResampleFilter> ResampleFilterFromStored(int stored) {
  if (stored < 1 || stored > 4) return std::nullopt;
  return kMenuFilters[stored - 1];
}

int StoredResampleFilter(TResampleFilter filter) {
  for (int i = 0; i < 4; ++i)
    if (kMenuFilters[i] == filter) return i + 1;
  return 0;
}

}  // namespace vistrel
