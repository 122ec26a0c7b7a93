// The page geometry of a print pass and of the page preview, as plain
// functions: the picture's natural printed size, scaling, fitting and
// alignment on the printable area, the footer's place, and the paper shown
// in the preview.
#pragma once

namespace vistrel {

// Windows' MulDiv: a * b / c rounded to the nearest integer (halves away
// from zero); 0 when c is 0.
int MulDiv(int a, int b, int c);
// Nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);

enum class TPrintScaling { None, PicturePercent, PagePercent };

struct TPrintGeometryInput {
  int picture_width = 0, picture_height = 0;
  int printer_dpi_x = 96, printer_dpi_y = 96;
  int screen_dpi_x = 96, screen_dpi_y = 96;
  int page_width = 0, page_height = 0;  // PW, PH: printable area, device pixels
  int line_height = 0;                  // h: one footer line
  int footer_lines = 0;                 // n: 0 .. 4
  TPrintScaling scaling = TPrintScaling::PicturePercent;
  int picture_percent = 100;            // 10 .. 400
  int page_percent = 100;               // 10 .. 100
  bool keep_proportions = true;
  int alignment = 0;                    // 0 .. 8, anything else: top left
};

struct TPrintGeometry {
  int x = 0, y = 0, width = 0, height = 0;  // the picture's rectangle
  int area_height = 0;                      // PH': the page above the footer
  int footer_x = 0, footer_y = 0;           // top left of the first footer line
};

TPrintGeometry PrintGeometry(const TPrintGeometryInput& in);

// The paper in the 330 x 358 preview area: its place and size.
struct TPreviewPaper {
  int left = 0, top = 0, width = 0, height = 0;
};

inline constexpr int kPreviewAreaWidth = 330;
inline constexpr int kPreviewAreaHeight = 358;

// `page_width` x `page_height`: the printable area in the chosen orientation.
TPreviewPaper PreviewPaper(int page_width, int page_height, bool landscape, bool original_size);

}  // namespace vistrel
