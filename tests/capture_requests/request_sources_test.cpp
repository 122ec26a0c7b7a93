#include "capture/request_sources.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

// What a request does with the picture, in one line for comparing.
struct Fate {
  TCaptureArea area;
  std::optional<TCaptureArea> unselected;
  bool shown, saved_automatically, printed, clipboard, clipboard_as_set, client_area_as_set;
  bool operator==(const Fate&) const = default;
};

Fate FateOf(const TCaptureRequest& r) {
  const bool automatic = r.save && r.save->path.empty() && r.save->folder.empty();
  return {r.area,    r.unselected,     r.ShowsPicture(),      automatic,
          r.print,   r.clipboard,      r.clipboard_as_set,    r.client_area_as_set};
}

constexpr auto kDesktop = TCaptureArea::Desktop;
constexpr auto kWindow = TCaptureArea::Window;
constexpr auto kArea = TCaptureArea::Area;

TEST(RequestSources, EveryHotkeyAsksForItsCaptureWithOptionsLeftToTheCommands) {
  struct Row {
    int id;
    bool direct_printing;
    Fate fate;
  };
  const Row rows[] = {
      // Get Desktop: shown, or printed with the automatic copy first.
      {1000, false, {kDesktop, {}, true, false, false, false, false, false}},
      {1000, true, {kDesktop, {}, false, false, true, false, true, false}},
      // Get Desktop + Save: never shown, Direct Printing or not.
      {1001, false, {kDesktop, {}, false, true, false, false, true, false}},
      {1001, true, {kDesktop, {}, false, true, false, false, true, false}},
      // Get Rectangular Area: shown; left without a selection, the desktop.
      {1002, true, {kArea, kDesktop, true, false, false, false, false, false}},
      // Get Active Window: as Get Desktop, the client area as set.
      {1003, false, {kWindow, {}, true, false, false, false, false, true}},
      {1003, true, {kWindow, {}, false, false, true, false, true, true}},
      {1004, true, {kWindow, {}, false, true, false, false, true, true}},
      // The sixth slot: an area whose fallback is the foreground window.
      {1005, true, {kArea, kWindow, true, false, false, false, false, true}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    const std::optional<TCaptureRequest> request = RequestForHotkey(row.id, row.direct_printing);
    ASSERT_TRUE(request);
    EXPECT_EQ(FateOf(*request), row.fate);
    EXPECT_EQ(request->cursor, TAsSet::Stored);
    EXPECT_EQ(request->sound, TAsSet::Stored);
    EXPECT_EQ(request->delay_seconds, 0);
  }
  EXPECT_FALSE(RequestForHotkey(999, false));
  EXPECT_FALSE(RequestForHotkey(1006, false));
}

TEST(RequestSources, TrayItemsAndTimerTicks) {
  EXPECT_EQ(FateOf(RequestForOpen()),
            (Fate{kDesktop, {}, true, false, false, false, false, false}));
  // Printed whatever Direct Printing says, the automatic copy first.
  EXPECT_EQ(FateOf(RequestForPrintDesktop()),
            (Fate{kDesktop, {}, false, false, true, false, true, false}));
  EXPECT_EQ(FateOf(RequestForRectangularArea()), FateOf(*RequestForHotkey(1002, false)));
  // A tick saves the custom rectangle and never copies.
  EXPECT_EQ(FateOf(RequestForTimerTick()),
            (Fate{TCaptureArea::Custom, {}, false, true, false, false, false, false}));
}

}  // namespace
}  // namespace vistrel
