#include "platform/platform_choice.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

std::optional<TPlatformKind> Choose(const char* forced, const char* wayland, const char* x11) {
  std::string error;
  const std::optional<TPlatformKind> kind = ChoosePlatform({forced, wayland, x11}, error);
  EXPECT_EQ(kind.has_value(), error.empty()) << error;
  return kind;
}

TEST(PlatformChoice, AWaylandSessionWinsOverItsXwaylandDisplay) {
  EXPECT_EQ(Choose(nullptr, "wayland-1", ":0"), TPlatformKind::Wayland);
  EXPECT_EQ(Choose(nullptr, "wayland-1", nullptr), TPlatformKind::Wayland);
  EXPECT_EQ(Choose(nullptr, nullptr, ":0"), TPlatformKind::X11);
  EXPECT_EQ(Choose("", "", ":0"), TPlatformKind::X11);  // empty is unset
}

TEST(PlatformChoice, TheForcedPlatformWinsWhateverDisplaysAreSet) {
  EXPECT_EQ(Choose("x11", "wayland-1", ":0"), TPlatformKind::X11);
  EXPECT_EQ(Choose("wayland", nullptr, ":0"), TPlatformKind::Wayland);
  EXPECT_EQ(Choose("fake", nullptr, nullptr), TPlatformKind::Fake);
  EXPECT_FALSE(Choose("X11", "wayland-1", ":0"));  // names are exact
  EXPECT_FALSE(Choose(nullptr, nullptr, nullptr));
}

TEST(PlatformChoice, TheDisplayNameIsThatOfTheChosenDesktop) {
  // It names the running copy's socket: one copy per user and desktop.
  EXPECT_EQ(ChosenDisplayName({nullptr, "wayland-1", ":0"}), "wayland-1");
  EXPECT_EQ(ChosenDisplayName({"x11", "wayland-1", ":0"}), ":0");
  EXPECT_EQ(ChosenDisplayName({"wayland", nullptr, ":0"}), "");
  EXPECT_EQ(ChosenDisplayName({"fake", "wayland-1", ":0"}), "");
  EXPECT_EQ(ChosenDisplayName({nullptr, nullptr, nullptr}), "");
}

}  // namespace
}  // namespace vistrel
