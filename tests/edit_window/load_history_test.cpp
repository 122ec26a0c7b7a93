// The ten-slot load history and its stored form.
#include <gtest/gtest.h>

#include "picture/load_history.h"

namespace vistrel {
namespace {

std::string File(int n) { return "/pictures/p" + std::to_string(n) + ".png"; }

TEST(LoadHistory, TheEleventhLoadWritesSlotZeroAndAllTenAreStoredOldestFirst) {
  TLoadHistory h;
  for (int n = 1; n <= 11; ++n) h.Record(File(n));
  EXPECT_EQ(h.Used(), 10);
  EXPECT_EQ(h.Slot(0), File(11));
  EXPECT_EQ(h.Checked(), 0);
  EXPECT_EQ(h.Counter(), 1);
  std::vector<std::string> want;
  for (int n = 2; n <= 11; ++n) want.push_back(File(n));
  EXPECT_EQ(h.ToStored(), want);

  // Ten restored: the next load replaces the oldest.
  TLoadHistory next = TLoadHistory::FromStored(want);
  EXPECT_EQ(next.Used(), 10);
  EXPECT_EQ(next.Checked(), -1);
  next.Record(File(12));
  std::vector<std::string> after(want.begin() + 1, want.end());
  after.push_back(File(12));
  EXPECT_EQ(next.ToStored(), after);
}

TEST(LoadHistory, ExactlyTenLoadsAndTheSameFileTwice) {
  TLoadHistory h;
  for (int n = 1; n <= 10; ++n) h.Record(File(n % 2));
  EXPECT_EQ(h.Used(), 10);
  EXPECT_EQ(h.Counter(), 0);
  EXPECT_EQ(h.ToStored().size(), 10u);
  EXPECT_EQ(h.Slot(0), h.Slot(2));
}

TEST(LoadHistory, DamagedStoreAndClear) {
  std::vector<std::string> many(50, "/a.png");
  EXPECT_EQ(TLoadHistory::FromStored(many).Used(), 10);
  TLoadHistory h = TLoadHistory::FromStored({"/a.png", "/b.png"});
  EXPECT_EQ(h.Counter(), 2);
  h.Clear();
  EXPECT_TRUE(h.Empty());
  EXPECT_TRUE(h.ToStored().empty());
  h.Record("/c.png");
  EXPECT_EQ(h.Slot(0), "/c.png");
}

}  // namespace
}  // namespace vistrel
