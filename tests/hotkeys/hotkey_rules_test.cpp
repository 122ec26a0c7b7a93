#include "app/hotkeys/hotkey_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/fake/fake_hotkeys.h"

namespace vistrel {
namespace {

THotKeySlot WithKey(int key_index, int modifier_index = 0) {
  return {kHotKeyKeys[std::size_t(key_index)].value,
          kHotKeyModifiers[std::size_t(modifier_index)].value, key_index, modifier_index};
}

constexpr int kPrintScrn = 1, kF1 = 2, kF3 = 4, kF5 = 6, kF6 = 7, kF7 = 8, kF8 = 9, kF11 = 12;
constexpr int kLetterA = 24, kLetterB = 25, kLetterS = 42, kSubtract = 56;
constexpr int kNone = 0, kAlt = 1, kCtrl = 2, kShift = 3, kAltCtrl = 4, kCtrlShift = 7;

TEST(HotKeyRefusals, PrintScrnTakesOnlyNoneOrAlt) {
  for (int m = 0; m < 8; ++m)
    EXPECT_EQ(ModifierChoiceRefused(WithKey(kPrintScrn), m), m != kNone && m != kAlt) << m;
}

TEST(HotKeyRefusals, CtrlIsRefusedOnTheLettersOfTheProgramsOwnShortcuts) {
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const bool own = std::string_view("ACELMPRSTX").find(letter) != std::string_view::npos;
    const THotKeySlot slot = WithKey(kLetterA + (letter - 'A'));
    EXPECT_EQ(ModifierChoiceRefused(slot, kCtrl), own) << letter;
    EXPECT_FALSE(ModifierChoiceRefused(slot, kAltCtrl)) << letter;
    EXPECT_FALSE(ModifierChoiceRefused(slot, kCtrlShift)) << letter;
  }
}

TEST(HotKeyRefusals, FunctionKeysAgainstNoneAndCtrlShift) {
  for (int k = kF1; k <= kF5; ++k) {
    EXPECT_TRUE(ModifierChoiceRefused(WithKey(k, kAlt), kNone)) << k;
    EXPECT_TRUE(ModifierChoiceRefused(WithKey(k, kAlt), kCtrlShift)) << k;
    EXPECT_FALSE(ModifierChoiceRefused(WithKey(k, kAlt), kShift)) << k;
  }
  for (int k : {kF6, kF7}) {
    EXPECT_TRUE(ModifierChoiceRefused(WithKey(k), kCtrlShift)) << k;
    EXPECT_FALSE(ModifierChoiceRefused(WithKey(k), kNone)) << k;
    EXPECT_FALSE(ModifierChoiceRefused(WithKey(k), kAltCtrl)) << k;
  }
  EXPECT_FALSE(ModifierChoiceRefused(WithKey(kF8), kCtrlShift));
  EXPECT_FALSE(ModifierChoiceRefused(WithKey(kSubtract), kCtrl));
}

TEST(HotKeyRefusals, F1ToF5NeedTheModifierFirst) {
  for (int k = kF1; k <= kF5; ++k) {
    EXPECT_TRUE(KeyChoiceRefused(WithKey(kNone), k)) << k;
    EXPECT_FALSE(KeyChoiceRefused(WithKey(kNone, kAlt), k)) << k;
  }
  EXPECT_FALSE(KeyChoiceRefused(WithKey(kNone), kF6));
  EXPECT_FALSE(KeyChoiceRefused(WithKey(kNone), kPrintScrn));
}

TEST(HotKeyChoices, ARefusedChoiceLeavesTheSlotAsItWas) {
  THotKeySlot slot = WithKey(kPrintScrn);
  const THotKeySlot before = slot;
  EXPECT_FALSE(ChooseModifier(slot, kCtrl));
  EXPECT_FALSE(ChooseKey(slot, kF3));
  EXPECT_FALSE(ChooseKey(slot, 59));  // outside the list
  EXPECT_FALSE(ChooseModifier(slot, -1));
  EXPECT_EQ(slot, before);
  EXPECT_TRUE(ChooseModifier(slot, kAlt));
  EXPECT_TRUE(ChooseKey(slot, kF3));
  EXPECT_EQ(slot, (THotKeySlot{114, 1, kF3, kAlt}));
}

TEST(HotKeyChoices, TheChecksLookAtDifferentFields) {
  // The modifier check sees the key code, the key check the flags: F6 with
  // Ctrl+Shift is refused, but Ctrl+Shift first and F6 second is not.
  THotKeySlot slot = WithKey(kF6);
  EXPECT_FALSE(ChooseModifier(slot, kCtrlShift));
  slot = WithKey(kNone);
  EXPECT_TRUE(ChooseModifier(slot, kCtrlShift));
  EXPECT_TRUE(ChooseKey(slot, kF6));
  EXPECT_EQ(slot, (THotKeySlot{117, 6, kF6, kCtrlShift}));
}

TEST(HotKeyDuplicates, SameKeyAndModifierIndexInTwoSlots) {
  HotKeyTable table;
  table.SetDefaultHotKeys();
  EXPECT_FALSE(HasDuplicateHotKey(table));
  table.keys[3] = WithKey(kPrintScrn);  // rows 1 and 4 both PrintScrn alone
  EXPECT_TRUE(HasDuplicateHotKey(table));
  table.keys[3] = WithKey(kLetterS, kAltCtrl);
  table.keys[5] = WithKey(kLetterS, kAltCtrl);  // the slot without a row counts too
  EXPECT_TRUE(HasDuplicateHotKey(table));
  table.keys[5] = WithKey(kLetterS, kAlt);
  EXPECT_FALSE(HasDuplicateHotKey(table));
}

TEST(HotKeyDuplicates, SlotsWithoutAKeyAreNeverDuplicates) {
  HotKeyTable table;
  for (int n = 0; n < kHotKeySlots; ++n) table.keys[std::size_t(n)] = WithKey(kNone, kAlt);
  EXPECT_FALSE(HasDuplicateHotKey(table));
}

TEST(HotKeyTexts, CombinationsAsTheListsWriteThem) {
  EXPECT_EQ(CombinationText(WithKey(kPrintScrn)), "PrintScrn");
  EXPECT_EQ(CombinationText(WithKey(kF11, kAlt)), "ALT+F11");
  EXPECT_EQ(CombinationText(WithKey(kSubtract, kCtrl)), "CTRL+subtract");
  EXPECT_EQ(CombinationText(WithKey(kLetterB, 6)), "ALT+CTRL+SHIFT+B");
  EXPECT_EQ(CombinationText(THotKeySlot{200, 9, 0, 0}), "modifiers 9+key code 200");
}

TEST(HotKeyTexts, StoredIndexesOutsideTheListsShowAsNone) {
  const THotKeySlot slot{44, 1, 77, -3};
  EXPECT_EQ(ShownKeyIndex(slot), 0);
  EXPECT_EQ(ShownModifierIndex(slot), 0);
  EXPECT_EQ(ShownKeyIndex(WithKey(kPrintScrn, kAlt)), kPrintScrn);
}

TEST(HotKeyTexts, RefusedSlotsAreNamedWithTheirFunctions) {
  HotKeyTable table;
  table.SetDefaultHotKeys();
  table.keys[4] = WithKey(kF11, kAlt);
  const std::string text = RefusedHotKeysText(table, {0, 4});
  EXPECT_NE(text.find("\r\nPrintScrn (Get Desktop)"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\nALT+F11 (Get Active Window + Save)"), std::string::npos) << text;
}

TEST(THotKeysRefusals, RegisterNamesTheRefusedSlotsWithAKey) {
  FakeHotkeys desktop;
  desktop.held_by_others.insert({1, 122});  // Alt+F11
  THotKeys keys(desktop);
  keys.Table().SetDefaultHotKeys();
  keys.Table().keys[4] = WithKey(kF11, kAlt);
  keys.Table().keys[2] = THotKeySlot{250, 0, 0, 0};  // a code no key has
  EXPECT_EQ(keys.RegisterHotKeys(), (std::vector<int>{2, 4}));
  EXPECT_EQ(desktop.registered.count(1000), 1u);
  EXPECT_EQ(desktop.registered.count(1003), 1u);
  desktop.held_by_others.clear();
  keys.Table().keys[2] = {};
  EXPECT_TRUE(keys.RegisterHotKeys().empty());  // slots without a key are no refusal
  EXPECT_EQ(desktop.registered.count(1004), 1u);
}

TEST(THotKeysRefusals, ARefusedKeyIsTakenOnRetryOnceFreedButNeverWhileSuspended) {
  FakeHotkeys desktop;
  desktop.held_by_others.insert({0, 44});  // the window manager has Print
  THotKeys keys(desktop);
  keys.Table().SetDefaultHotKeys();
  int changes = 0;
  keys.SetRefusedChanged([&] { ++changes; });
  keys.RegisterHotKeys();
  EXPECT_EQ(keys.Refused(), std::vector<int>{0});
  EXPECT_EQ(changes, 1);

  EXPECT_TRUE(keys.RetryRefused().empty());  // still held: nothing changes
  EXPECT_EQ(changes, 1);
  desktop.held_by_others.clear();
  keys.SetSuspended(true);
  EXPECT_TRUE(keys.Refused().empty());
  EXPECT_TRUE(keys.RetryRefused().empty());
  EXPECT_FALSE(desktop.Press(0, 44));
  desktop.held_by_others.insert({0, 44});
  keys.SetSuspended(false);  // registering again finds it held again
  EXPECT_EQ(keys.Refused(), std::vector<int>{0});

  desktop.held_by_others.clear();
  const int before = changes;
  EXPECT_EQ(keys.RetryRefused(), std::vector<int>{0});
  EXPECT_TRUE(keys.Refused().empty());
  EXPECT_EQ(changes, before + 1);
  EXPECT_TRUE(desktop.Press(0, 44));
  EXPECT_TRUE(desktop.Press(1, 44));  // Alt+Print was never disturbed

  // A slot repeating an earlier slot's combination is refused, but no other
  // program holds it: nothing to name or ask for again.
  keys.Table().keys[2] = keys.Table().keys[0];
  EXPECT_EQ(keys.RegisterHotKeys(), std::vector<int>{2});
  EXPECT_TRUE(keys.Refused().empty());
}

TEST(HotKeyTexts, TheNoticeAndTooltipNameKeysAsDesktopsDo) {
  HotKeyTable table;
  table.SetDefaultHotKeys();
  table.keys[4] = WithKey(kF11, kCtrlShift);
  const std::string notice = RefusedHotKeysNotice(table, {0, 3, 4});
  EXPECT_EQ(notice.rfind("Print Screen (Get Desktop) is used by another program\n"
                         "Alt+Print Screen (Get Active Window) is used by another program\n"
                         "Ctrl+Shift+F11 (Get Active Window + Save) is used by another program\n",
                         0),
            0u)
      << notice;
  EXPECT_NE(notice.find("keyboard settings"), std::string::npos);
  EXPECT_NE(notice.find("Hotkey Setup"), std::string::npos);
  EXPECT_EQ(TrayTooltipText(" Vistrel-Pro v1.05", false, table, {}), " Vistrel-Pro v1.05");
  EXPECT_EQ(TrayTooltipText(" Vistrel-Pro v1.05", true, table, {0, 4}),
            " Vistrel-Pro v1.05\nAutomatic Save on\n"
            "Keys used by another program: Print Screen, Ctrl+Shift+F11");
}

// A desktop that assigns the keys: it takes every registration and may
// refuse afterwards.
class AssigningDesktop : public FakeHotkeys {
 public:
  THotkeyLending Lending() const override { return THotkeyLending::Assigned; }
  void Describe(int id, std::string description) override { descriptions[id] = description; }
  void SetRefusedHandler(TRefusedHandler handler) override { refuse = std::move(handler); }
  std::map<int, std::string> descriptions;
  TRefusedHandler refuse;
};

TEST(THotKeysRefusals, ADesktopThatAssignsKeysRefusesLaterAndIsNotAskedAgain) {
  AssigningDesktop desktop;
  {
    THotKeys keys(desktop);
    EXPECT_EQ(desktop.descriptions[1000], "Get Desktop");
    EXPECT_EQ(desktop.descriptions[1004], "Get Active Window + Save");
    keys.Table().SetDefaultHotKeys();
    int changes = 0;
    keys.SetRefusedChanged([&] { ++changes; });
    EXPECT_TRUE(keys.RegisterHotKeys().empty());
    ASSERT_TRUE(desktop.refuse);
    desktop.refuse({1003, 1000, 1003});
    EXPECT_EQ(keys.Refused(), (std::vector<int>{0, 3}));
    EXPECT_EQ(changes, 2);
    // Asking again would make the desktop ask its user again, not free a key.
    desktop.registered.clear();
    EXPECT_TRUE(keys.RetryRefused().empty());
    EXPECT_TRUE(desktop.registered.empty());
    EXPECT_EQ(keys.Refused(), (std::vector<int>{0, 3}));
    // While suspended a late answer names nothing.
    keys.SetSuspended(true);
    desktop.refuse({1000});
    EXPECT_TRUE(keys.Refused().empty());
  }
  EXPECT_FALSE(desktop.refuse);  // gone with the table
}

TEST(HotKeyTexts, WaylandNoticesNameTheDesktopAndTheCommandLineNotAnotherProgram) {
  HotKeyTable table;
  table.SetDefaultHotKeys();
  table.keys[1] = WithKey(kF11, kCtrlShift);
  EXPECT_EQ(HotKeyCommandLine(0), "vistrel-pro --capture desktop");
  EXPECT_EQ(HotKeyCommandLine(1), "vistrel-pro --capture desktop --output-dir FOLDER");
  EXPECT_EQ(HotKeyCommandLine(2), "vistrel-pro --capture area");
  EXPECT_EQ(HotKeyCommandLine(3), "vistrel-pro --capture window");
  EXPECT_EQ(HotKeyCommandLine(4), "vistrel-pro --capture window --output-dir FOLDER");
  EXPECT_EQ(HotKeyCommandLine(6), "");

  const std::string none = RefusedHotKeysNotice(table, {0, 1}, THotkeyLending::None);
  EXPECT_EQ(none.rfind("Print Screen (Get Desktop): vistrel-pro --capture desktop\n"
                       "Ctrl+Shift+F11 (Get Desktop + Save): vistrel-pro --capture desktop "
                       "--output-dir FOLDER\n",
                       0),
            0u)
      << none;
  const std::string refused = RefusedHotKeysNotice(table, {3}, THotkeyLending::Assigned);
  EXPECT_EQ(refused.rfind("Alt+Print Screen (Get Active Window) was refused by the desktop\n", 0),
            0u)
      << refused;
  for (const std::string& text : {none, refused}) {
    EXPECT_EQ(text.find("another program"), std::string::npos) << text;
    EXPECT_EQ(text.find("tries again"), std::string::npos) << text;
  }
  EXPECT_EQ(RefusedHotKeysSummary(THotkeyLending::None),
            "Vistrel-Pro: the desktop assigns the hotkeys");
  EXPECT_EQ(RefusedHotKeysSummary(THotkeyLending::Assigned),
            "Vistrel-Pro: the desktop refused a hotkey");
  EXPECT_EQ(RefusedHotKeysSummary(THotkeyLending::Grabs),
            "Vistrel-Pro: a hotkey is used by another program");
  EXPECT_EQ(TrayTooltipText("V", false, table, {0, 3}, THotkeyLending::None),
            "V\nKeys to bind in the desktop's settings: Print Screen, Alt+Print Screen");
  EXPECT_EQ(TrayTooltipText("V", false, table, {0}, THotkeyLending::Assigned),
            "V\nKeys the desktop refused: Print Screen");
}

}  // namespace
}  // namespace vistrel
