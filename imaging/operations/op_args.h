// Arguments of table operations: their kinds, ranges and text form
// ("30,1", "FF0000,00FF00", "640,-1,mitchell").
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/operations/resample.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

enum class TArgKind {
  Integer,  // decimal integer
  Number,   // decimal number
  Color,    // RRGGBB in hexadecimal; -1 (only as a default) = none given
  Filter,   // resample filter name
};

struct TArgSpec {
  std::string_view name;
  TArgKind kind;
  double min;
  double max;
  std::optional<double> fallback;  // set: the argument may be left out
};

// Argument values in table order; every kind is held as a number (colours
// as 0x00BBGGRR, filters by their enum value).
struct TOpArgs {
  std::vector<double> values;

  int Int(std::size_t i) const { return int(values.at(i)); }
  double Number(std::size_t i) const { return values.at(i); }
  TColor Color(std::size_t i) const { return TColor(values.at(i)); }
  std::int64_t ColorOrNone(std::size_t i) const { return std::int64_t(values.at(i)); }
  TResampleFilter Filter(std::size_t i) const { return TResampleFilter(int(values.at(i))); }
};

// Builds argument values from their text form ("" for none). Left-out
// optional arguments take their defaults. On failure returns false and says
// why in `error`.
bool ParseArgs(std::span<const TArgSpec> specs, std::string_view text, TOpArgs& args, std::string& error);

// True when the count matches and every value is whole where needed and in
// range (defaults filled in as ParseArgs does).
bool CompleteArgs(std::span<const TArgSpec> specs, TOpArgs& args);

// Shortest decimal form: 90 -> "90", 22.5 -> "22.5", -0.1 -> "-0.1".
std::string FormatNumber(double value);

// "W,H[,FILTER]" style usage text of an argument list.
std::string ArgsUsage(std::span<const TArgSpec> specs);

}  // namespace vistrel
