#include "settings/other_options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace vistrel {
namespace {

namespace fs = std::filesystem;

class OtherOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (fs::temp_directory_path() /
             ("vistrel-options-" + std::to_string(getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".reg"))
                .string();
    fs::remove(path_);
    d_.pictures_folder = "/var/tmp/";
    d_.desktop_left = -1280;
    d_.desktop_top = 0;
    d_.desktop_width = 2944;
    d_.desktop_height = 1080;
    d_.screen_width = 1920;
    d_.screen_height = 1080;
    d_.now = 46365.25;
  }
  void TearDown() override { fs::remove(path_); }
  std::string path_;
  OptionDefaults d_;
};

TEST_F(OtherOptionsTest, FreshUserGetsTheCatalogueDefaults) {
  SettingsStore st(path_);
  TrayOptions t = TrayOptions::Load(st, d_);
  EXPECT_EQ(t.AutoFolder, "/var/tmp/");
  EXPECT_EQ(t.AutoFileName, "Picture");
  EXPECT_TRUE(t.AutoNumbering);
  EXPECT_EQ(t.AutoExtention, "png");
  EXPECT_DOUBLE_EQ(t.AutoStart, 46365.25);
  EXPECT_DOUBLE_EQ(t.AutoEnd, 46365.25);
  EXPECT_EQ(t.CaptureIntervalMs(), 30000);
  EXPECT_FALSE(t.TimerEnabled);
  EXPECT_FALSE(t.DirectPrint);

  PictureWindowOptions p = PictureWindowOptions::Load(st, d_);
  EXPECT_TRUE(p.Monitor[0]);
  EXPECT_FALSE(p.Monitor[4]);
  EXPECT_TRUE(p.Sound);
  EXPECT_TRUE(p.AutoCrop);
  EXPECT_EQ(p.FooterText, "Vistrel-Pro");
  EXPECT_EQ(p.SaveFolder, "/var/tmp/");
  EXPECT_EQ(p.DefJpgQuality, 85);
  EXPECT_EQ(p.DefPngComp, 5);
  EXPECT_EQ(p.ResampleFilter, 1);
  EXPECT_EQ(p.CustomLeft, -1276);                  // desktop left + 4
  EXPECT_EQ(p.CustomTop, 4);
  EXPECT_EQ(p.CustomRight, 1664 - 4);              // desktop right - 4, as on the left
  EXPECT_EQ(p.CustomBottom, 1076);
  EXPECT_EQ(p.OldWinLeft, (1920 - 636) / 2);
  EXPECT_EQ(p.OldWinBottom, (1080 - 434) / 2 + 434);
  EXPECT_EQ(p.MainFormLeft, 642);
  EXPECT_EQ(p.MainFormTop, 323);
  EXPECT_EQ(p.MainFormState, 1);
  PenOptions pen = PenOptions::Load(st);
  EXPECT_EQ(pen.PenSize, 2);
}

TEST_F(OtherOptionsTest, CentredPositionFollowsTheStoredSizeAndTruncatesTowardZero) {
  d_.screen_width = 500;  // narrower than the window
  {
    SettingsStore st(path_);
    st.WriteInteger(kOtherOptionsSection, "MainFormWidth", 801);
  }
  SettingsStore st(path_);
  PictureWindowOptions p = PictureWindowOptions::Load(st, d_);
  EXPECT_EQ(p.MainFormLeft, -150);  // (500 - 801) div 2
  EXPECT_EQ(p.OldWinLeft, -68);     // (500 - 636) div 2
}

TEST_F(OtherOptionsTest, GroupsRoundTripThroughTheStore) {
  PictureWindowOptions p;
  p.Monitor[0] = false;
  p.Monitor[2] = true;
  p.LoadHistory = {"/home/u/a.png", "/home/u/b b.jpg"};
  p.SaveFolder = "/home/u/Pictures/";
  p.MainFormState = 2;
  TrayOptions t;
  t.AutoFolder = "/srv/shots/";
  t.AutoIntTime = 0.5;
  t.TimerEnabled = true;
  {
    SettingsStore st(path_);
    p.Save(st);
    t.SaveSharedKeys(st);
    t.SaveExitKeys(st);
  }
  SettingsStore st(path_);
  PictureWindowOptions p2 = PictureWindowOptions::Load(st, d_);
  TrayOptions t2 = TrayOptions::Load(st, d_);
  EXPECT_FALSE(p2.Monitor[0]);
  EXPECT_TRUE(p2.Monitor[2]);
  EXPECT_EQ(p2.LoadHistory, p.LoadHistory);
  EXPECT_EQ(p2.SaveFolder, p.SaveFolder);
  EXPECT_EQ(p2.MainFormState, 2);
  EXPECT_EQ(t2.AutoFolder, "/srv/shots/");
  EXPECT_EQ(t2.CaptureIntervalMs(), 43200000);
  EXPECT_TRUE(t2.TimerEnabled);
}

TEST_F(OtherOptionsTest, CaptureIntervalNeverDropsBelowTenSeconds) {
  TrayOptions t;
  t.AutoIntTime = 0;  // set by hand outside the program
  EXPECT_EQ(t.CaptureIntervalMs(), 10000);
  t.AutoIntTime = 5.0 / 86400;
  EXPECT_EQ(t.CaptureIntervalMs(), 10000);
  t.AutoIntTime = 65.0 / 86400;
  EXPECT_EQ(t.CaptureIntervalMs(), 65000);
  t.AutoIntTime = 86399.0 / 86400;
  EXPECT_EQ(t.CaptureIntervalMs(), 86399000);
}

TEST_F(OtherOptionsTest, TimerTicksCaptureOnlyBetweenStartAndEnd) {
  TrayOptions t;
  t.AutoStart = 100.5;
  t.AutoEnd = 100.75;
  EXPECT_TRUE(t.TimedCaptureDue(99));  // neither enabled
  t.AutoStartOn = true;
  EXPECT_FALSE(t.TimedCaptureDue(100.25));
  EXPECT_TRUE(t.TimedCaptureDue(100.5));
  t.AutoEndOn = true;
  EXPECT_TRUE(t.TimedCaptureDue(100.6));
  EXPECT_FALSE(t.TimedCaptureDue(100.75));
  t.AutoEnd = 100.25;  // end before start: every tick is skipped
  EXPECT_FALSE(t.TimedCaptureDue(100.1));
  EXPECT_FALSE(t.TimedCaptureDue(100.6));
}

TEST_F(OtherOptionsTest, AbsurdHistoryCountIsBounded) {
  {
    SettingsStore st(path_);
    st.WriteInteger(kOtherOptionsSection, "Load_History_Count", 2000000000);
    st.WriteString(kOtherOptionsSection, "History_Line0", "/a.png");
  }
  SettingsStore st(path_);
  PictureWindowOptions p = PictureWindowOptions::Load(st, d_);
  EXPECT_EQ(p.LoadHistory.front(), "/a.png");
  EXPECT_LE(p.LoadHistory.size(), 100u);
}

}  // namespace
}  // namespace vistrel
