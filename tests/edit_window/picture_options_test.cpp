// "Setup\PictureOptions": key names and encodings, the round trip, and
// damaged values.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/picture_options.h"

namespace vistrel {
namespace {

class PictureOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ =
        (std::filesystem::temp_directory_path() /
         ("picture_options_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
          "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".reg"))
            .string();
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::string FileText() const {
    std::ifstream in(path_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string path_;
};

TEST_F(PictureOptionsTest, RoundTripWithTheProgramsKeyNames) {
  TPictureRecipe r;
  r.CheckBoxItem[efGrayscale] = true;
  r.CheckBoxItem[efTurn90] = true;
  r.ColorDepth = cd16Colors;
  r.PictureSize = 3;
  r.RBrightness = -40;
  r.RZoom = 250;
  r.RRotation = 90;
  r.RSubsituteColors = true;
  r.RSubstituteColor1 = MakeColor(1, 2, 3);
  r.RSwapColors = true;
  r.RSwapColor2 = MakeColor(0, 0, 255);
  r.RFrameColor = MakeColor(255, 0, 0);
  r.RFrameSize = 4;
  {
    SettingsStore store(path_);
    PictureOptions::Save(store, r);
  }
  SettingsStore store(path_);
  EXPECT_EQ(PictureOptions::Load(store), r);

  const std::string text = FileText();
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\PictureOptions]"),
            std::string::npos);
  for (const char* line : {"\"RSubsituteColors\"=\"1\"", "\"CheckBoxItem0\"=\"1\"",
                           "\"CheckBoxItem6\"=\"1\"", "\"CheckBoxItem1\"=\"0\"",
                           "\"RSwapColor2\"=dword:00ff0000", "\"RFrameColor\"=dword:000000ff",
                           "\"RBrightness\"=dword:ffffffd8", "\"ColorDepth\"=dword:00000001"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST_F(PictureOptionsTest, MissingAndDamagedValuesGiveDefaultsOrTheNearestValid) {
  {
    SettingsStore store(path_);
    EXPECT_EQ(PictureOptions::Load(store), TPictureRecipe{});
    store.WriteInteger(kPictureOptionsSection, "RZoom", 5000);
    store.WriteInteger(kPictureOptionsSection, "PictureSize", 12);
    store.WriteString(kPictureOptionsSection, "RFrameSize", "lots");
    store.WriteString(kPictureOptionsSection, "CheckBoxItem2", "5");
  }
  SettingsStore store(path_);
  const TPictureRecipe r = PictureOptions::Load(store);
  EXPECT_EQ(r.RZoom, 800);
  EXPECT_EQ(r.PictureSize, 7);
  EXPECT_EQ(r.RFrameSize, 0);
  EXPECT_TRUE(r.CheckBoxItem[efSharpen]);
}

}  // namespace
}  // namespace vistrel
