#include "platform/capture_bounds.h"

#include <gtest/gtest.h>

#include <ostream>

#include "fake_desktop.h"

namespace vistrel {
namespace {

using testing::kMonitor1;
using testing::kMonitor2;
using testing::kWholeDesktop;

class CaptureBoundsTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::MakeTwoMonitorDesktop(screen); }
  FakeScreenSource screen;
  TScreenRect bounds{1, 2, 3, 4};
};

TEST_F(CaptureBoundsTest, MonitorsMenuIndexPicksDesktopOrMonitor) {
  SetCaptureBounds(bounds, screen, kAllMonitors);
  EXPECT_EQ(bounds, kWholeDesktop);
  SetCaptureBounds(bounds, screen, 0);
  EXPECT_EQ(bounds, kMonitor1);
  SetCaptureBounds(bounds, screen, 1);
  EXPECT_EQ(bounds, kMonitor2);
}

TEST_F(CaptureBoundsTest, MonitorThatHasGoneGivesTheWholeDesktop) {
  SetCaptureBounds(bounds, screen, 3);
  EXPECT_EQ(bounds, kWholeDesktop);
  screen.monitors.pop_back();  // monitor 2 unplugged since it was chosen
  SetCaptureBounds(bounds, screen, 1);
  EXPECT_EQ(bounds, kMonitor1);
}

TEST_F(CaptureBoundsTest, VirtualDesktopIsTheUnionOfMonitorsAnywhere) {
  screen.monitors = {TMonitor{{100, 50, 300, 250}, true, "A"},
                     TMonitor{{0, 250, 100, 400}, false, "B"}};
  SetCaptureBounds(bounds, screen, kAllMonitors);
  EXPECT_EQ(bounds, (TScreenRect{0, 50, 300, 400}));
}

TEST_F(CaptureBoundsTest, NoMonitorsGiveEmptyBounds) {
  screen.monitors.clear();
  SetCaptureBounds(bounds, screen, 0);
  EXPECT_TRUE(bounds.IsEmpty());
}

struct ChoiceCase {
  const char* name;
  TMonitorsChoice checked;
  TScreenRect expected;
};

// Test lists show the case by its name.
void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

class MonitorsChoiceTest : public CaptureBoundsTest,
                           public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(MonitorsChoiceTest, LastCheckedItemInMenuOrderDecides) {
  ApplyMonitorsChoice(bounds, screen, GetParam().checked);
  EXPECT_EQ(bounds, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, MonitorsChoiceTest,
    ::testing::Values(
        ChoiceCase{"AllMonitors", {true, false, false, false, false}, kWholeDesktop},
        ChoiceCase{"Monitor1", {false, true, false, false, false}, kMonitor1},
        ChoiceCase{"Monitor2", {false, false, true, false, false}, kMonitor2},
        ChoiceCase{"AllAndMonitor2", {true, false, true, false, false}, kMonitor2},
        ChoiceCase{"Monitor1AndMissingMonitor3", {false, true, false, true, false}, kWholeDesktop},
        ChoiceCase{"Monitor2AndMissingMonitor4", {false, false, true, false, true}, kWholeDesktop},
        ChoiceCase{"NothingChecked", {false, false, false, false, false}, kWholeDesktop}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CaptureBoundsTest, FourMonitorsMonitor1AndMonitor3CheckedGrabsMonitor3) {
  screen.monitors.push_back(TMonitor{{2944, 0, 3944, 700}, false, "C"});
  ApplyMonitorsChoice(bounds, screen, {false, true, false, true, false});
  EXPECT_EQ(bounds, (TScreenRect{2944, 0, 3944, 700}));
}

}  // namespace
}  // namespace vistrel
