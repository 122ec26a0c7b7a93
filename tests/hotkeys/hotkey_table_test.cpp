#include "app/hotkeys/hotkey_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "settings/settings_store.h"
#include "platform/fake/fake_hotkeys.h"

namespace vistrel {
namespace {

namespace fs = std::filesystem;

class HotKeyTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (fs::temp_directory_path() /
             ("vistrel-hotkeys-" + std::to_string(getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".reg"))
                .string();
    fs::remove(path_);
  }
  void TearDown() override { fs::remove(path_); }
  std::string path_;
};

TEST_F(HotKeyTableTest, FreshSettingsGetTheDefaultsStoredInSlotOrder) {
  HotKeyTable table;
  {
    SettingsStore st(path_);
    LoadHotKeysAtStart(table, st);
  }
  EXPECT_EQ(table.keys[0], (THotKeySlot{44, 0, 1, 0}));
  EXPECT_EQ(table.keys[3], (THotKeySlot{44, 1, 1, 1}));
  for (int n : {1, 2, 4, 5}) EXPECT_EQ(table.keys[std::size_t(n)], THotKeySlot{});
  SettingsStore st(path_);
  ASSERT_TRUE(st.SectionExists(kHotKeysSection));
  HotKeyTable back;
  back.Load(st);
  EXPECT_EQ(back, table);
}

TEST_F(HotKeyTableTest, MissingKeysOfAnExistingSectionReadAsPrintScrn) {
  {
    SettingsStore st(path_);
    st.WriteInteger(kHotKeysSection, "HotKey2", 109);  // "subtract"
    st.WriteInteger(kHotKeysSection, "Modifier2", 2);  // CTRL
    st.WriteInteger(kHotKeysSection, "IndexH2", 56);
    st.WriteInteger(kHotKeysSection, "IndexM2", 2);
  }
  HotKeyTable table;
  table.SetDefaultHotKeys();
  SettingsStore st(path_);
  LoadHotKeysAtStart(table, st);
  EXPECT_EQ(table.keys[2], (THotKeySlot{109, 2, 56, 2}));
  EXPECT_EQ(table.keys[3], (THotKeySlot{44, 0, 0, 0}));  // code 44, index "None"
}

TEST(HotKeyLists, IndexesMatchTheirCodes) {
  EXPECT_EQ(kHotKeyKeys[1].value, 44);
  for (int i = 2; i <= 13; ++i) EXPECT_EQ(kHotKeyKeys[std::size_t(i)].value, i + 110);
  for (int i = 14; i <= 23; ++i) EXPECT_EQ(kHotKeyKeys[std::size_t(i)].value, i + 82);
  for (int i = 24; i <= 49; ++i) EXPECT_EQ(kHotKeyKeys[std::size_t(i)].value, i + 41);
  EXPECT_EQ(kHotKeyKeys[56].text, "subtract");
  EXPECT_EQ(kHotKeyKeys[58].value, 19);
  EXPECT_EQ(kHotKeyModifiers[6].text, "ALT+CTRL+SHIFT");
  EXPECT_EQ(kHotKeyModifiers[6].value, 7);
  EXPECT_EQ(kHotKeyModifiers[7].value, 6);
}

TEST(THotKeys, RegistersEverySlotAndIgnoresRefusals) {
  FakeHotkeys desktop;
  desktop.held_by_others.insert({1, 44});  // someone else has Alt+Print
  THotKeys keys(desktop);
  keys.Table().SetDefaultHotKeys();
  keys.Table().keys[2] = {109, 2, 56, 2};
  keys.RegisterHotKeys();
  EXPECT_EQ(desktop.registered.count(1000), 1u);
  EXPECT_EQ(desktop.registered.count(1003), 0u);  // refused, silently
  EXPECT_EQ(desktop.registered.at(1002), (FakeHotkeys::Combination{2, 109}));
  std::vector<int> fired;
  desktop.SetHandler([&](int id) { fired.push_back(id); });
  EXPECT_TRUE(desktop.Press(2, 109));
  EXPECT_EQ(fired, std::vector<int>{1002});
}

TEST(THotKeys, SuspendPutsBackTheTableInForceBefore) {
  FakeHotkeys desktop;
  THotKeys keys(desktop);
  keys.Table().SetDefaultHotKeys();
  keys.RegisterHotKeys();
  const HotKeyTable before = keys.Table();

  keys.SetSuspended(true);
  EXPECT_FALSE(desktop.Press(0, 44));
  keys.Table().keys[0] = {123, 0, 13, 0};  // the dialog changed F12 meanwhile
  keys.SetSuspended(false);
  EXPECT_EQ(keys.Table(), before);
  EXPECT_TRUE(desktop.Press(0, 44));
  EXPECT_FALSE(desktop.Press(0, 123));
}

}  // namespace
}  // namespace vistrel
