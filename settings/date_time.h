// Dates as the settings keep them: days since 30 December 1899, the
// fraction being the time of day (local time).
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace vistrel {

double DateTimeFromTm(const std::tm& local);
double NowAsDateTime();
std::tm TmFromDateTime(double value);

// Milliseconds of the time-of-day part: hours, minutes and seconds only
// (the days and the milliseconds are dropped).
std::int64_t TimeOfDayMs(double value);

// The program's short date "m.d.y": month and day without leading zeros, a
// two-digit year, "." between them (9 December 2026 is "12.9.26").
std::string ShortDateText(const std::tm& local);

}  // namespace vistrel
