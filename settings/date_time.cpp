#include "settings/date_time.h"

#include <cmath>

namespace vistrel {

namespace {
constexpr double kMsPerDay = 86400000.0;

// Days from 30 December 1899 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromEpoch(int year, int month, int day) {
  // Howard Hinnant's days_from_civil, shifted to the 1899-12-30 epoch.
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yoe = unsigned(year - era * 400);
  const unsigned doy = (153 * unsigned(month + (month > 2 ? -3 : 9)) + 2) / 5 + unsigned(day) - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + std::int64_t(doe) - 719468 + 25569;
}
}  // namespace

double DateTimeFromTm(const std::tm& t) {
  const double days = double(DaysFromEpoch(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday));
  return days + (t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec) / 86400.0;
}

double NowAsDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return DateTimeFromTm(local);
}

std::tm TmFromDateTime(double value) {
  if (!std::isfinite(value)) value = 0;
  const double whole = std::floor(value);
  std::int64_t ms = std::llround((value - whole) * kMsPerDay);
  std::int64_t z = std::int64_t(whole) - 25569 + 719468;
  if (ms >= std::int64_t(kMsPerDay)) { ms -= std::int64_t(kMsPerDay); ++z; }
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  std::tm t{};
  t.tm_mday = int(doy - (153 * mp + 2) / 5 + 1);
  t.tm_mon = int(mp < 10 ? mp + 3 : mp - 9) - 1;
  t.tm_year = int(std::int64_t(yoe) + era * 400 + (t.tm_mon < 2)) - 1900;
  t.tm_hour = int(ms / 3600000);
  t.tm_min = int(ms / 60000 % 60);
  t.tm_sec = int(ms / 1000 % 60);
  return t;
}

std::int64_t TimeOfDayMs(double value) {
  if (!std::isfinite(value)) return 0;
  double frac = std::fabs(value - std::trunc(value));
  std::int64_t ms = std::llround(frac * kMsPerDay) % std::int64_t(kMsPerDay);
  return ms / 1000 * 1000;
}

}  // namespace vistrel
