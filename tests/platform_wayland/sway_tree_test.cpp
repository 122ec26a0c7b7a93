#include <gtest/gtest.h>

#include "platform/wayland/sway_window_source.h"

namespace vistrel {
namespace {

// A get_tree reply as sway 1.7 gives it, cut to the fields that matter:
// two tiled windows (one inside a split container) and a floating one on
// HEADLESS-1, a full-screen one on HEADLESS-2 over a floating one that sway
// calls not visible, two tabs behind a tabbed container's focused one on
// HEADLESS-2, one in the scratchpad and one on a workspace not shown.
constexpr char kTree[] = R"({
 "id": 1, "type": "root", "rect": {"x": 0, "y": 0, "width": 1824, "height": 768},
 "nodes": [
  {"id": 2, "type": "output", "name": "__i3", "nodes": [
   {"id": 3, "type": "workspace", "name": "__i3_scratch", "nodes": [], "floating_nodes": [
    {"id": 20, "type": "floating_con", "pid": 400, "visible": false, "focused": false,
     "rect": {"x": 10, "y": 10, "width": 100, "height": 100},
     "window_rect": {"x": 0, "y": 0, "width": 100, "height": 100},
     "deco_rect": {"x": 0, "y": 0, "width": 0, "height": 0}}]}]},
  {"id": 4, "type": "output", "name": "HEADLESS-1", "current_workspace": "1",
   "rect": {"x": 0, "y": 0, "width": 1024, "height": 768}, "nodes": [
   {"id": 5, "type": "workspace", "name": "1", "nodes": [
    {"id": 10, "type": "con", "pid": 100, "visible": true, "focused": false,
     "rect": {"x": 0, "y": 25, "width": 512, "height": 743},
     "window_rect": {"x": 2, "y": 0, "width": 508, "height": 741},
     "deco_rect": {"x": 0, "y": 0, "width": 512, "height": 25}},
    {"id": 11, "type": "con", "layout": "splitv", "rect": {"x": 512, "y": 0, "width": 512, "height": 768},
     "nodes": [
      {"id": 12, "type": "con", "pid": 200, "visible": true, "focused": true,
       "rect": {"x": 512, "y": 409, "width": 512, "height": 359},
       "window_rect": {"x": 2, "y": 0, "width": 508, "height": 357},
       "deco_rect": {"x": 0, "y": 384, "width": 512, "height": 25}}]}],
    "floating_nodes": [
     {"id": 13, "type": "floating_con", "pid": 300, "visible": true, "focused": false,
      "rect": {"x": 310, "y": 234, "width": 404, "height": 302},
      "window_rect": {"x": 2, "y": 0, "width": 400, "height": 300},
      "deco_rect": {"x": 310, "y": 209, "width": 404, "height": 25}}]}]},
  {"id": 6, "type": "output", "name": "HEADLESS-2", "current_workspace": "2",
   "rect": {"x": 1024, "y": 0, "width": 800, "height": 600}, "nodes": [
   {"id": 7, "type": "workspace", "name": "2", "nodes": [
    {"id": 14, "type": "con", "pid": 500, "visible": true, "focused": false, "fullscreen_mode": 1,
     "rect": {"x": 1024, "y": 0, "width": 800, "height": 600},
     "window_rect": {"x": 0, "y": 0, "width": 800, "height": 600},
     "deco_rect": {"x": 0, "y": 0, "width": 0, "height": 0}},
    {"id": 16, "type": "con", "layout": "tabbed", "focus": [18, 17],
     "rect": {"x": 1024, "y": 0, "width": 400, "height": 600}, "nodes": [
      {"id": 17, "type": "con", "pid": 700, "visible": false, "rect": {"x": 1024, "y": 25, "width": 400, "height": 575}},
      {"id": 18, "type": "con", "pid": 800, "visible": false, "rect": {"x": 1024, "y": 25, "width": 400, "height": 575}}]}],
    "floating_nodes": [
     {"id": 15, "type": "floating_con", "pid": 600, "visible": false,
      "rect": {"x": 1100, "y": 100, "width": 200, "height": 100}}]},
   {"id": 8, "type": "workspace", "name": "3", "nodes": [
    {"id": 19, "type": "con", "pid": 900, "visible": false, "rect": {"x": 1024, "y": 0, "width": 800, "height": 600}}]}]}]})";

TEST(SwayTree, WindowsComeTopmostFirstWithFramesClientAreasAndWhetherShown) {
  const std::optional<std::vector<TSwayWindow>> windows = SwayWindowsOfTree(kTree);
  ASSERT_TRUE(windows);
  struct TExpected {
    TWindowId id;
    const char* output;
    bool focused, visible;
    TScreenRect frame, client;
  };
  // The title bar above the container belongs to the frame, the border
  // around the client area too.
  const TExpected expected[] = {
      {14, "HEADLESS-2", false, true, {1024, 0, 1824, 600}, {1024, 0, 1824, 600}},
      {15, "HEADLESS-2", false, true, {1100, 100, 1300, 200}, {1100, 100, 1100, 100}},
      {13, "HEADLESS-1", false, true, {310, 209, 714, 536}, {312, 234, 712, 534}},
      {20, "__i3", false, false, {10, 10, 110, 110}, {10, 10, 110, 110}},
      {19, "HEADLESS-2", false, false, {1024, 0, 1824, 600}, {1024, 0, 1024, 0}},
      {18, "HEADLESS-2", false, true, {1024, 25, 1424, 600}, {1024, 25, 1024, 25}},
      {17, "HEADLESS-2", false, false, {1024, 25, 1424, 600}, {1024, 25, 1024, 25}},
      {12, "HEADLESS-1", true, true, {512, 384, 1024, 768}, {514, 409, 1022, 766}},
      {10, "HEADLESS-1", false, true, {0, 0, 512, 768}, {2, 25, 510, 766}},
  };
  ASSERT_EQ(windows->size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const TSwayWindow& got = (*windows)[i];
    const TExpected& want = expected[i];
    SCOPED_TRACE(want.id);
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.output, want.output);
    EXPECT_EQ(got.focused, want.focused);
    EXPECT_EQ(got.visible, want.visible);
    EXPECT_EQ(got.frame, want.frame);
    EXPECT_EQ(got.client, want.client);
  }
  EXPECT_EQ((*windows)[7].pid, 200);
}

TEST(SwayTree, AReplyThatIsNoTreeGivesNothing) {
  EXPECT_FALSE(SwayWindowsOfTree("[{\"success\": false}]"));
  EXPECT_FALSE(SwayWindowsOfTree("{\"nodes\": [{\"type\": \"con\""));
  EXPECT_FALSE(SwayWindowsOfTree("{\"type\": \"root\", \"nodes\": \"none\"}"));
}

}  // namespace
}  // namespace vistrel
