#include <gtest/gtest.h>

#include "imaging/convert/convert_options.h"

namespace vistrel {
namespace {

bool Parse(std::vector<std::string> args, TConvertOptions& options, std::string& error) {
  return ParseConvertOptions(args, options, error);
}

TEST(ConvertOptions, StepsKeepTheirOrder) {
  TConvertOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"--op", "Rotate=30,0", "--select", "1,2,30,40", "--op", "Negative", "--select-ellipse",
                     "10.5,10,4,3", "--op", "CropSel", "--info", "in.png", "out.bmp"},
                    o, error))
      << error;
  ASSERT_EQ(o.steps.size(), 5u);
  const auto& rotate = std::get<TConvertOp>(o.steps[0]);
  EXPECT_EQ(rotate.op->name, "Rotate");
  EXPECT_EQ(rotate.args.values, (std::vector<double>{30, 0, -1}));
  const auto& rect = std::get<TConvertSelectRect>(o.steps[1]);
  EXPECT_EQ(rect.right, 30);
  EXPECT_DOUBLE_EQ(std::get<TConvertSelectEllipse>(o.steps[3]).cx, 10.5);
  EXPECT_TRUE(o.info);
  EXPECT_EQ(o.input, "in.png");
  EXPECT_EQ(o.output, "out.bmp");
}

TEST(ConvertOptions, WrongUsageSaysWhy) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "INPUT and OUTPUT"},
      {{"a.png"}, "INPUT and OUTPUT"},
      {{"a.png", "b.png", "c.png"}, "only one"},
      {{"--frobnicate", "a.png", "b.png"}, "unknown option --frobnicate"},
      {{"--op", "Sharpen", "a.png", "b.png"}, "unknown operation \"Sharpen\""},
      {{"--op", "Flip=3", "a.png", "b.png"}, "Flip: DIR out of range"},
      {{"--select", "1,2,3", "a.png", "b.png"}, "--select needs"},
      {{"--select", "1,2,3,x", "a.png", "b.png"}, "--select needs"},
      {{"--select-ellipse", "1,2,3,4,5", "a.png", "b.png"}, "--select-ellipse needs"},
      {{"--set", "jpeg-quality", "a.png", "b.png"}, "NAME=VALUE"},
      {{"--set", "no-such-thing=1", "a.png", "b.png"}, "unknown writer parameter"},
      {{"--set", "jpeg-quality=1000", "a.png", "b.png"}, "bad value"},
      {{"a.png", "b.png", "--op"}, "--op needs a value"},
  };
  for (const auto& [args, reason] : cases) {
    TConvertOptions o;
    std::string error;
    EXPECT_FALSE(Parse(args, o, error)) << reason;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
  }
}

TEST(ConvertOptions, HelpAndVersionNeedNoFilesAndHelpListsEveryOperation) {
  TConvertOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"--version"}, o, error)) << error;
  EXPECT_TRUE(o.version);
  ASSERT_TRUE(Parse({"--help"}, o, error));
  EXPECT_TRUE(o.help);
  const std::string usage = ConvertUsage();
  for (const TOperation& op : Operations()) EXPECT_NE(usage.find("  " + std::string(op.name)), std::string::npos);
  EXPECT_NE(usage.find("jpeg-quality"), std::string::npos);
  EXPECT_NE(usage.find("--version"), std::string::npos);
}

TEST(ConvertOptions, DashAloneIsAFileName) {
  TConvertOptions o;
  std::string error;
  ASSERT_TRUE(Parse({"in.png", "-"}, o, error));
  EXPECT_EQ(o.output, "-");
}

}  // namespace
}  // namespace vistrel
