#include <gtest/gtest.h>

#include "output/print_layout.h"

namespace vistrel {
namespace {

TPrintGeometryInput A600(int pw, int ph) {
  TPrintGeometryInput in;
  in.printer_dpi_x = in.printer_dpi_y = 600;
  in.page_width = pw;
  in.page_height = ph;
  return in;
}

TEST(PrintRounding, FactorsRoundHalvesToEvenAndMulDivRoundsHalvesAway) {
  EXPECT_EQ(RoundHalfEven(600.0 / 96), 6);
  EXPECT_EQ(RoundHalfEven(720.0 / 96), 8);
  EXPECT_EQ(RoundHalfEven(1200.0 / 96), 12);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(MulDiv(5, 1, 2), 3);
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(4800, 50, 100), 2400);
  EXPECT_EQ(MulDiv(7, 3, 0), 0);
}

TEST(PrintGeometry, NaturalSizeIsTheRoundedFactorTimesThePicture) {
  TPrintGeometryInput in = A600(4800, 6600);
  in.picture_width = 800;
  in.picture_height = 600;
  in.line_height = 50;
  const TPrintGeometry g = PrintGeometry(in);
  EXPECT_EQ(g.width, 4800);
  EXPECT_EQ(g.height, 3600);
  EXPECT_EQ(g.area_height, 6600 - 50 - 4);
  EXPECT_EQ(g.x, 0);
  EXPECT_EQ(g.y, (6600 - 50 - 4 - 3600) / 2);
}

TEST(PrintGeometry, AWidePictureShrinksToThePageWidthKeepingItsShape) {
  TPrintGeometryInput in = A600(4760, 6779);
  in.picture_width = 1920;  // 11520 wide at 6x
  in.picture_height = 1080;
  in.line_height = 40;
  const TPrintGeometry g = PrintGeometry(in);
  EXPECT_EQ(g.width, 4760);
  EXPECT_EQ(g.height, RoundHalfEven(6480 / (11520.0 / 4760)));
}

TEST(PrintGeometry, ATallPictureShrinksToTheAreaAboveTheFooter) {
  TPrintGeometryInput in = A600(4760, 6779);
  in.picture_width = 300;
  in.picture_height = 2000;
  in.line_height = 40;
  in.footer_lines = 4;
  const TPrintGeometry g = PrintGeometry(in);
  const int area = 6779 - 5 * 40 - 4;
  EXPECT_EQ(g.area_height, area);
  EXPECT_EQ(g.height, area);
  EXPECT_EQ(g.width, RoundHalfEven(1800 / (12000.0 / area)));
  EXPECT_EQ(g.footer_x, 20);
  EXPECT_EQ(g.footer_y, area + 20);
}

TEST(PrintGeometry, WithoutProportionsEachSideIsClippedAlone) {
  TPrintGeometryInput in = A600(4760, 6779);
  in.picture_width = 1000;
  in.picture_height = 2000;
  in.keep_proportions = false;
  const TPrintGeometry g = PrintGeometry(in);
  EXPECT_EQ(g.width, 4760);
  EXPECT_EQ(g.height, 6779);  // no line height: nothing taken for the footer
}

TEST(PrintGeometry, PagePercentTakesTheShapeOfThePrintableArea) {
  TPrintGeometryInput in = A600(4760, 6779);
  in.picture_width = 10;
  in.picture_height = 700;
  in.line_height = 41;
  in.scaling = TPrintScaling::PagePercent;
  in.page_percent = 50;
  const TPrintGeometry g = PrintGeometry(in);
  EXPECT_EQ(g.width, 2380);
  EXPECT_EQ(g.height, MulDiv(6779 - 41 - 4, 50, 100));
}

TEST(PrintGeometry, PicturePercentScalesTheNaturalSize) {
  TPrintGeometryInput in = A600(4760, 6779);
  in.picture_width = 101;
  in.picture_height = 33;
  in.picture_percent = 25;
  const TPrintGeometry g = PrintGeometry(in);
  EXPECT_EQ(g.width, MulDiv(606, 25, 100));  // 151.5 -> 152
  EXPECT_EQ(g.height, MulDiv(198, 25, 100));
}

TEST(PrintGeometry, EveryAlignmentPlacesThePicture) {
  TPrintGeometryInput in = A600(1001, 2001);
  in.picture_width = 50;   // 300 x 200 at 6x
  in.picture_height = 33;  // 198
  const int a = 2001, w = 300, h = 198;
  const struct {
    int alignment, x, y;
  } cases[] = {{0, (1001 - w) / 2, (a - h) / 2}, {1, 0, 0},
               {2, 1001 - w, 0},                 {3, (1001 - w) / 2, 0},
               {4, 0, a - h},                    {5, 1001 - w, a - h},
               {6, (1001 - w) / 2, a - h},       {7, 0, (a - h) / 2},
               {8, 1001 - w, (a - h) / 2},       {-1, 0, 0}};
  for (const auto& c : cases) {
    in.alignment = c.alignment;
    const TPrintGeometry g = PrintGeometry(in);
    EXPECT_EQ(g.x, c.x) << c.alignment;
    EXPECT_EQ(g.y, c.y) << c.alignment;
  }
}

TEST(PreviewPaper, FollowsThePrintableAreaInBothOrientations) {
  const TPreviewPaper portrait = PreviewPaper(4760, 6779, false, false);
  EXPECT_EQ(portrait.width, 226);
  EXPECT_EQ(portrait.height, 310);
  EXPECT_EQ(portrait.left, 48);
  EXPECT_EQ(portrait.top, 20);
  const TPreviewPaper landscape = PreviewPaper(6779, 4760, true, false);
  EXPECT_EQ(landscape.width, 310);  // 338, capped
  EXPECT_EQ(landscape.height, 236);
  const TPreviewPaper original = PreviewPaper(4760, 6779, false, true);
  EXPECT_EQ(original.left, 0);
  EXPECT_EQ(original.top, 0);
  EXPECT_EQ(original.width, 904);
  EXPECT_EQ(original.height, 1240);
  // A tiny page does not divide by zero.
  EXPECT_EQ(PreviewPaper(100, 200, false, false).width, 100);
}

}  // namespace
}  // namespace vistrel
