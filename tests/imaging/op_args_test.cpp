#include <gtest/gtest.h>

#include "imaging/operation_table.h"

namespace vistrel {
namespace {

TOpArgs Parse(std::string_view op, std::string_view text) {
  TOpArgs args;
  std::string error;
  EXPECT_TRUE(ParseArgs(FindOperation(op)->args, text, args, error)) << error;
  return args;
}

std::string Error(std::string_view op, std::string_view text) {
  TOpArgs args;
  std::string error;
  EXPECT_FALSE(ParseArgs(FindOperation(op)->args, text, args, error)) << text;
  return error;
}

TEST(OperationArgs, OptionalArgumentsTakeTheirDefaults) {
  const TOpArgs rotate = Parse("Rotate", "30");
  EXPECT_EQ(rotate.values, (std::vector<double>{30, 1, -1}));
  const TOpArgs resample = Parse("Resample", "640,-1,lanczos3");
  EXPECT_EQ(resample.Filter(2), TResampleFilter::rfLanczos3);
  EXPECT_EQ(Parse("Resample", "640,480").Filter(2), TResampleFilter::rfMitchell);
  EXPECT_EQ(Parse("ConvertToGray", "").values.size(), 0u);
}

TEST(OperationArgs, ColoursAreRrggbb) {
  const TOpArgs swap = Parse("SwapColors", "FF0000,00ff80");
  EXPECT_EQ(swap.Color(0), MakeColor(255, 0, 0));
  EXPECT_EQ(swap.Color(1), MakeColor(0, 255, 128));
  EXPECT_NE(Error("SwapColors", "FF00,00FF00").find("RRGGBB"), std::string::npos);
  Error("SwapColors", "GG0000,000000");
}

TEST(OperationArgs, BadTextIsRefusedWithAReason) {
  EXPECT_NE(Error("Flip", "2").find("out of range"), std::string::npos);
  EXPECT_NE(Error("Flip", "").find("missing DIR"), std::string::npos);
  EXPECT_NE(Error("Contrast", "2.5").find("whole number"), std::string::npos);
  EXPECT_NE(Error("Contrast", "1,2").find("too many"), std::string::npos);
  EXPECT_NE(Error("Resample", "10,10,cubic").find("unknown filter"), std::string::npos);
  Error("HSLvar", "0,0,nan");
  Error("HSLvar", "0,,4");
  Error("ImageResize", "0,10");
  Error("ConvertTo", "2");
}

TEST(OperationArgs, ShortestDecimalForm) {
  EXPECT_EQ(FormatNumber(90), "90");
  EXPECT_EQ(FormatNumber(22.5), "22.5");
  EXPECT_EQ(FormatNumber(-0.1), "-0.1");
  EXPECT_EQ(FormatNumber(-0.0), "0");
  EXPECT_EQ(ArgsUsage(FindOperation("Rotate")->args), "DEG[,AA[,BG]]");
}

TEST(OperationTable, NamesAreUniqueAndFindable) {
  for (const TOperation& op : Operations()) {
    EXPECT_EQ(FindOperation(op.name), &op);
    EXPECT_NE(op.apply, nullptr);
  }
  EXPECT_EQ(FindOperation("rotate"), nullptr);  // names are case-sensitive
}

}  // namespace
}  // namespace vistrel
