#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/command_line_request.h"

namespace vistrel {
namespace {

using Args = std::vector<std::string>;

TCaptureRequest Parsed(const Args& args) {
  auto result = ParseCaptureArguments(args);
  EXPECT_TRUE(result.request) << result.error;
  EXPECT_TRUE(result.error.empty());
  return result.request.value_or(TCaptureRequest{});
}

TEST(CaptureArguments, ModesAndMonitor) {
  struct Row {
    Args args;
    TCaptureArea area;
    int monitor;
  };
  const Row rows[] = {
      {{"--capture", "desktop"}, TCaptureArea::Desktop, 0},
      {{"--capture", "monitor", "--monitor", "2"}, TCaptureArea::Monitor, 2},
      {{"--monitor", "1", "--capture", "desktop"}, TCaptureArea::Monitor, 1},
      {{"--capture", "window"}, TCaptureArea::Window, 0},
      {{"--capture", "client"}, TCaptureArea::ClientArea, 0},
      {{"--capture", "area"}, TCaptureArea::Area, 0},
      {{"--capture", "object"}, TCaptureArea::Object, 0},
      {{"--capture", "custom"}, TCaptureArea::Custom, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args[1]);
    TCaptureRequest request = Parsed(row.args);
    EXPECT_EQ(request.area, row.area);
    EXPECT_EQ(request.monitor, row.monitor);
  }
}

TEST(CaptureArguments, OptionsFillTheRequest) {
  TCaptureRequest plain = Parsed({"--capture", "area"});
  EXPECT_EQ(plain.cursor, TAsSet::Stored);
  EXPECT_EQ(plain.delay_seconds, 0);
  EXPECT_FALSE(plain.save);
  EXPECT_TRUE(plain.ShowsPicture());

  TCaptureRequest full = Parsed({"--capture", "desktop", "--delay", "5", "--no-cursor",
                                 "--output", "/tmp/a b.jpg", "--clipboard", "--print"});
  EXPECT_EQ(full.delay_seconds, 5);
  EXPECT_EQ(full.cursor, TAsSet::Off);
  ASSERT_TRUE(full.save);
  EXPECT_EQ(full.save->path, "/tmp/a b.jpg");
  EXPECT_TRUE(full.save->folder.empty());
  EXPECT_TRUE(full.clipboard);
  EXPECT_TRUE(full.print);
  EXPECT_FALSE(full.ShowsPicture());

  TCaptureRequest folder = Parsed({"--capture", "window", "--output-dir", "/tmp", "--cursor", "--show"});
  ASSERT_TRUE(folder.save);
  EXPECT_TRUE(folder.save->path.empty());
  EXPECT_EQ(folder.save->folder, "/tmp");
  EXPECT_EQ(folder.cursor, TAsSet::On);
  EXPECT_TRUE(folder.ShowsPicture());

  TCaptureRequest piped = Parsed({"--capture", "desktop", "--output", "-"});
  ASSERT_TRUE(piped.save);
  EXPECT_TRUE(piped.save->ToStandardOutput());
}

TEST(CaptureArguments, BadUsageNamesTheArgument) {
  struct Row {
    Args args;
    std::string named;
  };
  const Row rows[] = {
      {{}, "--capture"},
      {{"--output", "x.png"}, "--capture"},
      {{"--capture"}, "--capture"},
      {{"--capture", "screen"}, "screen"},
      {{"--capture", "desktop", "--frobnicate"}, "--frobnicate"},
      {{"--capture", "desktop", "--capture", "area"}, "--capture"},
      {{"--capture", "monitor"}, "--monitor"},
      {{"--capture", "monitor", "--monitor", "0"}, "--monitor 0"},
      {{"--capture", "monitor", "--monitor", "2x"}, "--monitor 2x"},
      {{"--capture", "area", "--monitor", "1"}, "--monitor"},
      {{"--capture", "desktop", "--delay", "-1"}, "--delay -1"},
      {{"--capture", "desktop", "--delay", "1.5"}, "--delay 1.5"},
      {{"--capture", "desktop", "--delay", "99999999999"}, "--delay 99999999999"},
      {{"--capture", "desktop", "--delay"}, "--delay"},
      {{"--capture", "desktop", "--cursor", "--no-cursor"}, "--no-cursor"},
      {{"--capture", "desktop", "--output", "a.png", "--output-dir", "/tmp"}, "--output-dir"},
      {{"--capture", "desktop", "--output", ""}, "--output"},
      {{"--capture", "desktop", "--show", "--show"}, "--show"},
  };
  for (const Row& row : rows) {
    std::string joined;
    for (const auto& a : row.args) joined += a + " ";
    SCOPED_TRACE(joined);
    auto result = ParseCaptureArguments(row.args);
    EXPECT_FALSE(result.request);
    EXPECT_NE(result.error.find(row.named), std::string::npos) << result.error;
  }
}

TEST(CaptureArguments, OnlyCaptureArgumentsAskForACapture) {
  EXPECT_TRUE(AsksForCapture({"--delay", "2", "--capture", "area"}));
  EXPECT_FALSE(AsksForCapture({}));
  EXPECT_FALSE(AsksForCapture({"/C"}));
  EXPECT_FALSE(AsksForCapture({"--help"}));
}

}  // namespace
}  // namespace vistrel
