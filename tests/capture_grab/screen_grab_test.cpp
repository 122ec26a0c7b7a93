#include "platform/screen_grab.h"

#include <gtest/gtest.h>

#include <ostream>

#include "fake_desktop.h"

namespace vistrel {
namespace {

using testing::kMonitor2;
using testing::kWholeDesktop;

// Monitor 3 stands below monitor 1 in this layout only.
const TScreenRect kLowerMonitor{0, 1080, 1920, 2160};

struct ConfineCase {
  const char* name;
  TScreenRect bounds;
  TScreenRect requested;
  TScreenRect expected;
};

// Test lists show the case by its name.
void PrintTo(const ConfineCase& c, std::ostream* os) { *os << c.name; }

class ConfineTest : public ::testing::TestWithParam<ConfineCase> {};

TEST_P(ConfineTest, RequestIsCutToTheCaptureBounds) {
  const ConfineCase& c = GetParam();
  EXPECT_EQ(ConfineToCaptureBounds(c.requested, c.bounds), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ConfineTest,
    ::testing::Values(
        ConfineCase{"InsideStaysAsItIs", kMonitor2, {2000, 100, 2100, 200}, {2000, 100, 2100, 200}},
        ConfineCase{"PartlyOnMonitor1KeepsThePartOnMonitor2", kMonitor2,
                    {1500, 100, 2200, 300}, {1920, 100, 2200, 300}},
        ConfineCase{"EntirelyOnMonitor1SpansMonitor2Width", kMonitor2,
                    {100, 100, 500, 300}, {1920, 100, 2944, 300}},
        ConfineCase{"OutsideOnBothAxesTakesAllOfMonitor2", kMonitor2,
                    {100, 900, 500, 1000}, kMonitor2},
        ConfineCase{"RightEdgeBeyondBoundsIsCut", kMonitor2,
                    {2800, 100, 3000, 800}, {2800, 100, 2944, 768}},
        ConfineCase{"InvertedTakesFullExtentOnBothAxes", kMonitor2,
                    {2500, 400, 2100, 300}, kMonitor2},
        ConfineCase{"EmptyRectangleTakesTheBounds", kWholeDesktop, {0, 0, 0, 0}, kWholeDesktop},
        ConfineCase{"NegativeRightTakesBoundsRight", kWholeDesktop,
                    {-50, 10, -10, 20}, {0, 10, 2944, 20}},
        ConfineCase{"LeftPastBoundsRightTakesBoundsLeft", kWholeDesktop,
                    {3000, 10, 3100, 20}, {0, 10, 2944, 20}},
        ConfineCase{"NegativeTopTakesBoundsTop", kWholeDesktop,
                    {10, -40, 20, 30}, {10, 0, 20, 30}},
        ConfineCase{"TopPastBoundsBottomTakesBoundsTop", kWholeDesktop,
                    {10, 1100, 20, 1200}, {10, 0, 20, 1080}},
        ConfineCase{"ZeroHeightTakesFullHeight", kWholeDesktop,
                    {10, 500, 20, 500}, {10, 0, 20, 1080}},
        ConfineCase{"LowerMonitorTopIsCutToItsOwnTop", kLowerMonitor,
                    {10, 1000, 100, 1200}, {10, 1080, 100, 1200}},
        ConfineCase{"AboveLowerMonitorTakesItsFullHeight", kLowerMonitor,
                    {10, 500, 100, 900}, {10, 1080, 100, 2160}}),
    [](const auto& info) { return std::string(info.param.name); });

class GrabScreenRectTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::MakeTwoMonitorDesktop(screen); }
  FakeScreenSource screen;
};

TEST_F(GrabScreenRectTest, PictureHoldsTheConfinedScreenPixels) {
  TPictureBitmap picture;
  const TScreenRect grabbed = GrabScreenRect(screen, kMonitor2, picture, {1500, 100, 2200, 300});
  EXPECT_EQ(grabbed, (TScreenRect{1920, 100, 2200, 300}));
  ASSERT_EQ(screen.grabs.size(), 1u);
  EXPECT_EQ(screen.grabs[0], grabbed);
  EXPECT_TRUE(testing::ShowsScreenArea(picture, grabbed));
}

TEST_F(GrabScreenRectTest, OldPictureIsReplacedByA24BitOne) {
  TPictureBitmap picture(40, 30, PixelFormat::Mono1);
  picture.Fill(kWhite);
  GrabScreenRect(screen, kWholeDesktop, picture, {5, 6, 15, 11});
  EXPECT_EQ(picture.Format(), PixelFormat::Bgr24);
  EXPECT_TRUE(testing::ShowsScreenArea(picture, {5, 6, 15, 11}));
}

TEST_F(GrabScreenRectTest, UnreadableScreenGivesABlackPictureOfTheSize) {
  screen.fail = true;
  TPictureBitmap picture(3, 3);
  picture.Fill(kWhite);
  GrabScreenRect(screen, kWholeDesktop, picture, {0, 0, 64, 48});
  ASSERT_EQ(picture.Width(), 64);
  ASSERT_EQ(picture.Height(), 48);
  EXPECT_EQ(picture.Pixel(0, 0), kBlack);
  EXPECT_EQ(picture.Pixel(63, 47), kBlack);
}

TEST_F(GrabScreenRectTest, EmptyBoundsGiveAnEmptyPicture) {
  TPictureBitmap picture(3, 3);
  GrabScreenRect(screen, TScreenRect{}, picture, {10, 10, 20, 20});
  EXPECT_TRUE(picture.Empty());
}

}  // namespace
}  // namespace vistrel
