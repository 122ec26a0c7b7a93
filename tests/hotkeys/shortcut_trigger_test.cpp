#include "platform/qt/shortcut_trigger.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

TEST(ShortcutTrigger, ModifiersInOrderThenTheKeyNameOfXkbcommon) {
  EXPECT_EQ(ShortcutTrigger(0, 44), "Print");
  EXPECT_EQ(ShortcutTrigger(1, 44), "ALT+Print");
  EXPECT_EQ(ShortcutTrigger(2, 44), "CTRL+Print");
  EXPECT_EQ(ShortcutTrigger(6, 101), "CTRL+SHIFT+KP_5");
  EXPECT_EQ(ShortcutTrigger(7, 122), "CTRL+ALT+SHIFT+F11");
  EXPECT_EQ(ShortcutTrigger(3, 83), "CTRL+ALT+s");  // the key, not the shifted letter
  EXPECT_EQ(ShortcutTrigger(0, 33), "Prior");
  EXPECT_EQ(ShortcutTrigger(0, 109), "KP_Subtract");
  EXPECT_EQ(ShortcutTrigger(4, 19), "SHIFT+Pause");
}

TEST(ShortcutTrigger, NoKeyAnUnknownKeyOrOtherFlagsGiveNone) {
  EXPECT_EQ(ShortcutTrigger(0, 0), "");
  EXPECT_EQ(ShortcutTrigger(1, 250), "");
  EXPECT_EQ(ShortcutTrigger(8, 44), "");  // the Windows key flag is no stored modifier
}

}  // namespace
}  // namespace vistrel
