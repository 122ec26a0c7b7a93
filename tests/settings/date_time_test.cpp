#include "settings/date_time.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

TEST(DateTime, TimeOfDayGivesTheCaptureInterval) {
  EXPECT_EQ(TimeOfDayMs(0.00035), 30000);       // 0:00:30.240, milliseconds dropped
  EXPECT_EQ(TimeOfDayMs(0.5), 43200000);        // noon: twelve hours
  EXPECT_EQ(TimeOfDayMs(45000.5), 43200000);    // the days do not count
  EXPECT_EQ(TimeOfDayMs(-1.25), 21600000);      // before the epoch: the time part
  EXPECT_EQ(TimeOfDayMs(0), 0);
  EXPECT_EQ(TimeOfDayMs(1e308 * 10), 0);        // infinity
}

TEST(DateTime, CalendarRoundTripAndShortDate) {
  std::tm t{};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 11;
  t.tm_mday = 9;
  t.tm_hour = 5;
  t.tm_min = 43;
  t.tm_sec = 22;
  const double v = DateTimeFromTm(t);
  EXPECT_NEAR(v, 46365 + (5 * 3600 + 43 * 60 + 22) / 86400.0, 1e-9);
  std::tm back = TmFromDateTime(v);
  EXPECT_EQ(back.tm_year, t.tm_year);
  EXPECT_EQ(back.tm_mon, 11);
  EXPECT_EQ(back.tm_mday, 9);
  EXPECT_EQ(back.tm_hour, 5);
  EXPECT_EQ(back.tm_min, 43);
  EXPECT_EQ(back.tm_sec, 22);
  EXPECT_EQ(ShortDateText(t), "12.9.26");
  std::tm epoch = TmFromDateTime(0);
  EXPECT_EQ(epoch.tm_year, -1);
  EXPECT_EQ(epoch.tm_mon, 11);
  EXPECT_EQ(epoch.tm_mday, 30);
  EXPECT_EQ(ShortDateText(TmFromDateTime(36526)), "1.1.00");  // 1 January 2000
}

}  // namespace
}  // namespace vistrel
