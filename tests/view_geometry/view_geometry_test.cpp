#include "imaging/view_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace vistrel {
namespace {

TEST(ViewGeometry, ZoomedSizeRoundsToNearest) {
  EXPECT_EQ(ZoomedSize(101, 150), 152);  // 151.5
  EXPECT_EQ(ZoomedSize(640, 100), 640);
  EXPECT_EQ(ZoomedSize(3, 10), 0);       // 0.3
  EXPECT_EQ(ZoomedSize(0, 100), 0);
  EXPECT_EQ(ZoomedSize(-5, 100), 0);
}

TEST(ViewGeometry, ZoomedPictureScrolledConvertsBothWays) {
  // 1000 pixels at 200 %: 2000 zoomed pixels, origin 300 shows column 150 first.
  const TViewAxis axis{1000, 400, 300};
  EXPECT_EQ(VisibleExtent(axis, 200), 400);
  EXPECT_EQ(ViewOffset(axis, 200, true), 0);
  EXPECT_EQ(FirstShown(axis, 200), 150);
  EXPECT_EQ(ClientToPicture(axis, 200, true, 0), 150);
  EXPECT_EQ(ClientToPicture(axis, 200, true, 101), 201);  // round(50.5) = 51
  EXPECT_EQ(PictureToClient(axis, 200, true, 150), 0);
  EXPECT_EQ(PictureToClient(axis, 200, true, 200), 100);

  const TViewAxis shrunk{1000, 300, 100};  // 50 %: 500 zoomed pixels
  EXPECT_EQ(FirstShown(shrunk, 50), 200);
  EXPECT_EQ(ClientToPicture(shrunk, 50, true, 10), 220);
  EXPECT_EQ(PictureToClient(shrunk, 50, true, 220), 10);
}

TEST(ViewGeometry, SmallPictureIsCentredAndCannotScroll) {
  const TViewAxis x{100, 400, 0}, y{50, 300, 0};
  EXPECT_EQ(VisibleExtent(x, 100), 100);
  EXPECT_EQ(ViewOffset(x, 100, true), 150);
  EXPECT_EQ(ViewOffset(y, 100, true), 125);
  EXPECT_EQ(ViewOffset(x, 100, false), 0);
  EXPECT_EQ(MaxOrigin(x, 100), 0);
  EXPECT_EQ(MaxOrigin(y, 100), 0);
  EXPECT_EQ(ClampOrigin(x, 100, 40), 0);

  EXPECT_EQ(ClientToPicture(x, 100, true, 150), 0);
  EXPECT_EQ(PictureToClient(x, 100, true, 0), 150);
  // Results are not clamped to the picture.
  EXPECT_EQ(ClientToPicture(x, 100, true, 149), -1);
  EXPECT_EQ(ClientToPicture(x, 100, true, 399), 249);
}

TEST(ViewGeometry, OriginIsClampedToTheScrollRange) {
  const TViewAxis axis{1000, 400, 0};
  EXPECT_EQ(MaxOrigin(axis, 100), 600);
  EXPECT_EQ(ClampOrigin(axis, 100, -5), 0);
  EXPECT_EQ(ClampOrigin(axis, 100, 700), 600);
  EXPECT_EQ(ClampOrigin(axis, 100, 250), 250);
  EXPECT_EQ(MaxOrigin(axis, 40), 0);  // 400 zoomed pixels fit exactly
  EXPECT_EQ(MaxOrigin(TViewAxis{1000, -10, 0}, 100), 1000);
}

TEST(ViewGeometry, ZoomKeepsThePointUnderTheCentre) {
  const TViewAxis axis{1000, 400, 300};
  EXPECT_EQ(ClientToPicture(axis, 100, true, 200), 500);
  const int origin = OriginAfterZoom(axis, 100, 200);
  EXPECT_EQ(origin, 800);
  EXPECT_EQ(ClientToPicture(TViewAxis{1000, 400, origin}, 200, true, 200), 500);
  // Zooming out until the picture fits brings the origin back to 0.
  EXPECT_EQ(OriginAfterZoom(axis, 100, 30), 0);
}

TEST(ViewGeometry, CentringOnAPixel) {
  const TViewAxis axis{1000, 401, 0};
  EXPECT_EQ(OriginCentredOn(axis, 100, 500), 300);  // 401 div 2 = 200
  EXPECT_EQ(PictureToClient(TViewAxis{1000, 401, 300}, 100, true, 500), 200);
  EXPECT_EQ(OriginCentredOn(axis, 100, 990), 599);
  EXPECT_EQ(OriginCentredOn(axis, 100, 3), 0);
  EXPECT_EQ(OriginCentredOn(axis, 300, 500), 1300);
}

TEST(ViewGeometry, FitTakesTheTighterDirection) {
  EXPECT_DOUBLE_EQ(FitZoom(800, 600, 400, 400, 0), 50);
  EXPECT_DOUBLE_EQ(FitZoom(100, 50, 400, 300, 0), 400);  // enlarges too
  EXPECT_DOUBLE_EQ(FitZoom(100, 100, 220, 220, 10), 200);
  EXPECT_EQ(FitZoom(0, 0, 400, 300, 0), 0);
  EXPECT_EQ(FitZoom(100, 0, 400, 300, 0), 0);
  EXPECT_FALSE(IsUsableZoom(FitZoom(100, 100, 0, 0, 0)));
  EXPECT_FALSE(IsUsableZoom(FitZoom(100, 100, 10, 10, 20)));
}

TEST(ViewGeometry, WheelSteps) {
  EXPECT_DOUBLE_EQ(WheelZoom(100, -120), 108);  // towards the user
  EXPECT_DOUBLE_EQ(WheelZoom(100, 0), 108);
  EXPECT_DOUBLE_EQ(WheelZoom(100, 120), 92);
  EXPECT_DOUBLE_EQ(WheelZoom(5, -120), 6);  // round(0.4) = 0, at least 1
  EXPECT_DOUBLE_EQ(WheelZoom(5, 120), 4);
  EXPECT_DOUBLE_EQ(WheelZoom(31.25, 120), 28.25);  // round(2.5) = 3
  EXPECT_FALSE(IsUsableZoom(WheelZoom(1, 120)));  // 0 %: the view ignores it
}

TEST(ViewGeometry, ScrollBarCountsPicturePixels) {
  EXPECT_EQ(ScrollBarPosition(300, 200), 150);
  EXPECT_EQ(OriginFromScrollBar(150, 200), 300);
  EXPECT_EQ(ScrollBarPosition(300, 100), 300);
}

TEST(ViewGeometry, DrawnPixelsAgreeWithTheConversion) {
  // Every client pixel of the visible extent shows the picture pixel whose
  // span, as PictureToClient gives it, contains that client pixel.
  for (double zoom : {100.0, 200.0, 350.0, 50.0, 33.3, 812.5}) {
    for (int origin : {0, 7, 123}) {
      const TViewAxis axis{300, 250, origin};
      const int extent = VisibleExtent(axis, zoom);
      for (int d = 0; d < extent; ++d) {
        const int p = DrawnPictureIndex(axis, zoom, d);
        ASSERT_GE(p, 0);
        ASSERT_LT(p, 300);
        if (zoom >= 100 && p + 1 < 300) {
          EXPECT_LE(PictureToClient(axis, zoom, false, p), d) << zoom << " " << origin << " " << d;
          EXPECT_GT(PictureToClient(axis, zoom, false, p + 1), d) << zoom << " " << origin << " " << d;
        }
      }
    }
  }
  EXPECT_EQ(DrawnPictureIndex(TViewAxis{10, 100, 0}, 200, 1), 0);
  EXPECT_EQ(DrawnPictureIndex(TViewAxis{10, 100, 0}, 200, 2), 1);
  EXPECT_EQ(DrawnPictureIndex(TViewAxis{10, 100, 0}, 200, 1000), 9);  // clamped
}

TEST(ViewGeometry, AbsurdZoomsAndEmptyPicturesStayDefined) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double bad : {0.0, -50.0, nan, inf}) EXPECT_FALSE(IsUsableZoom(bad)) << bad;

  const TViewAxis tiny{100000, 800, 0};
  EXPECT_EQ(ZoomedSize(100000, 1e-9), 0);
  EXPECT_EQ(VisibleExtent(tiny, 1e-9), 0);
  EXPECT_EQ(FirstShown(tiny, 1e-9), 0);
  EXPECT_EQ(MaxOrigin(tiny, 1e-9), 0);
  EXPECT_EQ(ClientToPicture(tiny, 1e-9, true, 700), INT_MAX);
  EXPECT_EQ(ClientToPicture(tiny, 1e-9, true, 0), INT_MIN);  // left of the centred nothing
  EXPECT_DOUBLE_EQ(WheelZoom(1e-9, -1), 1 + 1e-9);

  const TViewAxis huge{100000, 800, INT_MAX};
  EXPECT_EQ(ZoomedSize(100000, 1e9), INT_MAX);
  EXPECT_EQ(MaxOrigin(huge, 1e9), INT_MAX - 800);
  EXPECT_EQ(ClampOrigin(huge, 1e9, INT_MAX), INT_MAX - 800);
  EXPECT_EQ(PictureToClient(TViewAxis{100000, 800, 0}, 1e9, false, 99999), INT_MAX);
  EXPECT_EQ(ScrollBarPosition(INT_MAX, 1e-9), INT_MAX);
  EXPECT_EQ(OriginFromScrollBar(INT_MAX, 1e9), INT_MAX);
  EXPECT_GE(OriginAfterZoom(huge, 1e9, 1e-9), 0);
  EXPECT_EQ(OriginAfterZoom(TViewAxis{100000, 800, 5000}, 100, 1e9), INT_MAX - 800);

  const TViewAxis empty{0, 400, 0};
  EXPECT_EQ(VisibleExtent(empty, 100), 0);
  EXPECT_EQ(ViewOffset(empty, 100, true), 200);
  EXPECT_EQ(MaxOrigin(empty, 100), 0);
  EXPECT_EQ(DrawnPictureIndex(empty, 100, 5), 0);
  EXPECT_EQ(OriginCentredOn(empty, 100, 10), 0);
  EXPECT_EQ(ClientToPicture(empty, nan, true, 10), 0);
}

}  // namespace
}  // namespace vistrel
