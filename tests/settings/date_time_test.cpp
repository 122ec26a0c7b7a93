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

TEST(DateTime, CalendarRoundTrip) {
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
  std::tm epoch = TmFromDateTime(0);
  EXPECT_EQ(epoch.tm_year, -1);
  EXPECT_EQ(epoch.tm_mon, 11);
  EXPECT_EQ(epoch.tm_mday, 30);
  const std::tm y2k = TmFromDateTime(36526);  // 1 January 2000
  EXPECT_EQ(y2k.tm_year, 100);
  EXPECT_EQ(y2k.tm_mon, 0);
  EXPECT_EQ(y2k.tm_mday, 1);
}

// Leap days and the days around them, both ways: a civil date and its
// serial number, also a moment before midnight.
TEST(DateTime, FebruaryAndLeapDaysBothWays) {
  struct Case {
    int year, month, day;
    double serial;
  };
  const Case cases[] = {
      {2024, 2, 28, 45350}, {2024, 2, 29, 45351}, {2024, 3, 1, 45352},  // leap year
      {2023, 2, 28, 44985}, {2023, 3, 1, 44986},                        // common year
      {2000, 2, 29, 36585},                                             // every 400 years
      {1900, 3, 1, 61},     {2100, 2, 28, 73109}, {2100, 3, 1, 73110},  // centuries are not
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
    std::tm t{};
    t.tm_year = c.year - 1900;
    t.tm_mon = c.month - 1;
    t.tm_mday = c.day;
    t.tm_hour = 23;
    t.tm_min = 59;
    t.tm_sec = 59;
    const double late = c.serial + (86400 - 1) / 86400.0;
    EXPECT_NEAR(DateTimeFromTm(t), late, 1e-9);
    for (double value : {c.serial, late}) {
      const std::tm back = TmFromDateTime(value);
      EXPECT_EQ(back.tm_year + 1900, c.year);
      EXPECT_EQ(back.tm_mon + 1, c.month);
      EXPECT_EQ(back.tm_mday, c.day);
    }
    // A tenth of a second before midnight is still the day before.
    const std::tm before = TmFromDateTime(c.serial - 0.1 / 86400);
    const std::tm day_before = TmFromDateTime(c.serial - 1);
    EXPECT_EQ(before.tm_mon, day_before.tm_mon);
    EXPECT_EQ(before.tm_mday, day_before.tm_mday);
    EXPECT_EQ(before.tm_hour, 23);
  }
  // The day before 1 March 2024 is the leap day, before 1 March 2023 the 28th.
  EXPECT_EQ(TmFromDateTime(45352 - 0.1 / 86400).tm_mday, 29);
  EXPECT_EQ(TmFromDateTime(44986 - 0.1 / 86400).tm_mday, 28);
}

}  // namespace
}  // namespace vistrel
