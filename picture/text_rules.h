// Rules of text insertion that need no window: the stored font style, the
// date-and-time text, the stored text and the 33-line buffer, point sizes
// on the screen.
#pragma once

#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// The lines text insertion places on the picture.
inline constexpr int kTextLineCount = 33;
using TTextLines = std::array<std::string, kTextLineCount>;

struct TFontStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  bool operator==(const TFontStyle&) const = default;
};

// 0 regular, 1 bold, 2 italic, 3 underline, 4 strikeout, 5 bold and italic;
// nullopt for any other value (the style stays as it is).
std::optional<TFontStyle> FontStyleFromStored(int stored);
// The stored number of a style, nullopt when it is none of the six.
std::optional<int> StoredFontStyle(const TFontStyle& style);

// "dddd, mmm dd, yyyy  hh:mm:ss AM/PM" with the given day and month names:
// the 12-hour clock shows hour 0 as 12.
std::string DateTimeText(const std::tm& local, std::string_view weekday, std::string_view month);

// The stored text split at CR LF; a final CR LF ends the last line.
std::vector<std::string> LinesOfUserText(std::string_view text);
// Every line followed by CR LF.
std::string UserTextOfLines(const std::vector<std::string>& lines);

// The first 33 lines; slots beyond the last line stay empty.
TTextLines TextBufferOfLines(const std::vector<std::string>& lines);

// Pixels of a point size on the screen's logical 96 dots per inch
// (10 points are 13 pixels), rounded to the nearest pixel.
int ScreenPixelsOfPoints(int points);

}  // namespace vistrel
