// Dates as the settings keep them: days since 30 December 1899, the
// fraction being the time of day (local time).
#pragma once

#include <cstdint>
#include <ctime>

namespace vistrel {

double DateTimeFromTm(const std::tm& local);
double NowAsDateTime();
std::tm TmFromDateTime(double value);

// Milliseconds of the time-of-day part: hours, minutes and seconds only
// (the days and the milliseconds are dropped).
std::int64_t TimeOfDayMs(double value);

}  // namespace vistrel
