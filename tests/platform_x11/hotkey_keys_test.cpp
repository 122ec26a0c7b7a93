#include "platform/hotkey_keys.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

namespace vistrel {
namespace {

TEST(HotkeyKeys, EveryKeyOfTheKeyListHasItsKeysym) {
  EXPECT_EQ(KeysymForVirtualKey(44), std::uint32_t(XK_Print));
  for (unsigned i = 0; i < 12; ++i) EXPECT_EQ(KeysymForVirtualKey(112 + i), XK_F1 + i);
  for (unsigned i = 0; i < 10; ++i) EXPECT_EQ(KeysymForVirtualKey(96 + i), XK_KP_0 + i);
  for (unsigned i = 0; i < 26; ++i) EXPECT_EQ(KeysymForVirtualKey(65 + i), XK_a + i);
  EXPECT_EQ(KeysymForVirtualKey(33), std::uint32_t(XK_Prior));
  EXPECT_EQ(KeysymForVirtualKey(34), std::uint32_t(XK_Next));
  EXPECT_EQ(KeysymForVirtualKey(35), std::uint32_t(XK_End));
  EXPECT_EQ(KeysymForVirtualKey(36), std::uint32_t(XK_Home));
  EXPECT_EQ(KeysymForVirtualKey(106), std::uint32_t(XK_KP_Multiply));
  EXPECT_EQ(KeysymForVirtualKey(107), std::uint32_t(XK_KP_Add));
  EXPECT_EQ(KeysymForVirtualKey(109), std::uint32_t(XK_KP_Subtract));
  EXPECT_EQ(KeysymForVirtualKey(111), std::uint32_t(XK_KP_Divide));
  EXPECT_EQ(KeysymForVirtualKey(19), std::uint32_t(XK_Pause));
}

TEST(HotkeyKeys, CodesOutsideTheListHaveNoKey) {
  for (unsigned vk : {0u, 1u, 45u, 91u, 108u, 110u, 124u, 255u, 0x10000u})
    EXPECT_EQ(KeysymForVirtualKey(vk), 0u) << vk;
}

TEST(HotkeyKeys, ModifierFlagsMapToXMasks) {
  EXPECT_EQ(X11ModifiersForFlags(0), 0);
  EXPECT_EQ(X11ModifiersForFlags(kHotkeyAlt), 1 << 3);   // Mod1
  EXPECT_EQ(X11ModifiersForFlags(kHotkeyCtrl), 1 << 2);  // Control
  EXPECT_EQ(X11ModifiersForFlags(kHotkeyShift), 1 << 0); // Shift
  EXPECT_EQ(X11ModifiersForFlags(7), (1 << 3) | (1 << 2) | 1);
  EXPECT_EQ(X11ModifiersForFlags(8), -1);  // the Windows key is not offered
}

}  // namespace
}  // namespace vistrel
