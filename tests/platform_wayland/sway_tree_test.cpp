#include <gtest/gtest.h>

#include "platform/wayland/sway_window_source.h"

namespace vistrel {
namespace {

// A get_tree reply as sway 1.7 gives it, cut to the fields that matter:
// two tiled windows (one inside a split container) and a floating one on
// HEADLESS-1, a full-screen one on HEADLESS-2, one in the scratchpad.
constexpr char kTree[] = R"({
 "id": 1, "type": "root", "rect": {"x": 0, "y": 0, "width": 1824, "height": 768},
 "nodes": [
  {"id": 2, "type": "output", "name": "__i3", "nodes": [
   {"id": 3, "type": "workspace", "name": "__i3_scratch", "nodes": [], "floating_nodes": [
    {"id": 20, "type": "floating_con", "pid": 400, "visible": false, "focused": false,
     "rect": {"x": 10, "y": 10, "width": 100, "height": 100},
     "window_rect": {"x": 0, "y": 0, "width": 100, "height": 100},
     "deco_rect": {"x": 0, "y": 0, "width": 0, "height": 0}}]}]},
  {"id": 4, "type": "output", "name": "HEADLESS-1",
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
  {"id": 6, "type": "output", "name": "HEADLESS-2",
   "rect": {"x": 1024, "y": 0, "width": 800, "height": 600}, "nodes": [
   {"id": 7, "type": "workspace", "name": "2", "nodes": [
    {"id": 14, "type": "con", "pid": 500, "visible": true, "focused": false, "fullscreen_mode": 1,
     "rect": {"x": 1024, "y": 0, "width": 800, "height": 600},
     "window_rect": {"x": 0, "y": 0, "width": 800, "height": 600},
     "deco_rect": {"x": 0, "y": 0, "width": 0, "height": 0}}]}]}]})";

TEST(SwayTree, WindowsComeTopmostFirstWithFramesAndClientAreas) {
  const std::optional<std::vector<TSwayWindow>> windows = SwayWindowsOfTree(kTree);
  ASSERT_TRUE(windows);
  std::vector<TWindowId> order;
  for (const TSwayWindow& w : *windows) order.push_back(w.id);
  EXPECT_EQ(order, (std::vector<TWindowId>{14, 13, 20, 12, 10}));

  const TSwayWindow& focused = (*windows)[3];
  EXPECT_TRUE(focused.focused);
  EXPECT_EQ(focused.pid, 200);
  EXPECT_EQ(focused.output, "HEADLESS-1");
  // The title bar above the container belongs to the frame, the border
  // around the client area too.
  EXPECT_EQ(focused.frame, (TScreenRect{512, 384, 1024, 768}));
  EXPECT_EQ(focused.client, (TScreenRect{514, 409, 1022, 766}));

  const TSwayWindow& floating = (*windows)[1];
  EXPECT_EQ(floating.frame, (TScreenRect{310, 209, 714, 536}));
  EXPECT_EQ(floating.client, (TScreenRect{312, 234, 712, 534}));
  EXPECT_FALSE((*windows)[2].visible);  // in the scratchpad
  EXPECT_EQ((*windows)[0].output, "HEADLESS-2");
}

TEST(SwayTree, AReplyThatIsNoTreeGivesNothing) {
  EXPECT_FALSE(SwayWindowsOfTree("[{\"success\": false}]"));
  EXPECT_FALSE(SwayWindowsOfTree("{\"nodes\": [{\"type\": \"con\""));
  EXPECT_FALSE(SwayWindowsOfTree("{\"type\": \"root\", \"nodes\": \"none\"}"));
}

}  // namespace
}  // namespace vistrel
