#include "settings/file_naming.h"

#include <gtest/gtest.h>

#include <set>

namespace vistrel {
namespace {

TPictureFileName Next(const std::set<std::string>& files, TNamingRule rule = {"Picture", true, "png"},
                      const std::string& folder = "/shots/") {
  return NextPictureFileName(folder, rule, [&](const std::string& p) { return files.count(p) > 0; });
}

TEST(FileNaming, FourDigitsZeroPaddedWithoutUpperLimit) {
  EXPECT_EQ(FourDigitNumber(1), "0001");
  EXPECT_EQ(FourDigitNumber(42), "0042");
  EXPECT_EQ(FourDigitNumber(9999), "9999");
  EXPECT_EQ(FourDigitNumber(10000), "10000");
}

TEST(FileNaming, TheFirstGapIsFilledFirst) {
  std::set<std::string> files = {"/shots/Picture0001.png", "/shots/Picture0003.png"};
  TPictureFileName next = Next(files);
  EXPECT_EQ(next.path, "/shots/Picture0002.png");
  EXPECT_EQ(next.number, 2);
  files.insert(next.path);
  EXPECT_EQ(Next(files).path, "/shots/Picture0004.png");
}

TEST(FileNaming, OnlyTheSameBaseAndExtensionBlockANumber) {
  EXPECT_EQ(Next({"/shots/Picture0001.jpg", "/shots/Shot0001.png"}).path, "/shots/Picture0001.png");
}

TEST(FileNaming, AfterAllFourDigitNumbersComesTenThousand) {
  TPictureFileName next = NextPictureFileName("/s/", {"P", true, "png"}, [](const std::string& p) {
    return p.size() == std::string("/s/P0000.png").size();
  });
  EXPECT_EQ(next.path, "/s/P10000.png");
}

TEST(FileNaming, WithoutNumberingThePlainNameEvenIfItExists) {
  EXPECT_EQ(Next({"/shots/Picture.png"}, {"Picture", false, "png"}).path, "/shots/Picture.png");
}

TEST(FileNaming, FolderAndBaseAreJoinedAsTheyStand) {
  EXPECT_EQ(Next({}, {"Picture", true, "png"}, "/home/u/shots").path, "/home/u/shotsPicture0001.png");
  EXPECT_EQ(WithTrailingSeparator("/home/u/shots"), "/home/u/shots/");
  EXPECT_EQ(WithTrailingSeparator("/home/u/shots/"), "/home/u/shots/");
  EXPECT_EQ(WithTrailingSeparator(""), "/");
}

}  // namespace
}  // namespace vistrel
