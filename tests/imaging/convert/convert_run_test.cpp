// Whole runs of the vistrel-convert program on PNG files made here.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "imaging/formats/picture_file.h"

namespace vistrel {
namespace {

namespace fs = std::filesystem;

struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

class ConvertRun : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/vistrel-convert-test-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
    // 64 x 48 with three colours: red left half, blue right half, one
    // green pixel in the middle.
    TPictureBitmap pic(64, 48);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) pic.SetPixel(x, y, x < 32 ? MakeColor(255, 0, 0) : MakeColor(0, 0, 255));
    pic.SetPixel(32, 24, MakeColor(0, 255, 0));
    TIOParams params;
    SavePictureFile(Path("in.png"), pic, params);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  RunResult Run(const std::string& args) const {
    const std::string out = Path("stdout.txt"), err = Path("stderr.txt");
    const std::string command = std::string(VISTREL_CONVERT_PATH) + " " + args + " >" + out + " 2>" + err;
    const int status = std::system(command.c_str());
    RunResult r;
    r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = Slurp(out);
    r.err = Slurp(err);
    return r;
  }

  static std::string Slurp(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
      char buf[4096];
      std::size_t n;
      while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
      std::fclose(f);
    }
    return text;
  }

  TPictureBitmap Load(const std::string& name) const {
    TPictureBitmap pic;
    TIOParams params;
    LoadPictureFile(Path(name), pic, params);
    return pic;
  }

  fs::path dir_;
};

TEST_F(ConvertRun, InfoOfTheInputWritesNothing) {
  const RunResult r = Run("--info " + Path("in.png") + " -");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "64 48 24 3\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 3);  // in, stdout, stderr
}

TEST_F(ConvertRun, OperationsRunInOrderAndTheResultIsWritten) {
  const RunResult r = Run("--op Rotate=90 --op Resample=24,-1,none --info " + Path("in.png") + " " + Path("out.png"));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "24 32 24 2\n");  // 48 x 64 scaled to width 24
  const TPictureBitmap out = Load("out.png");
  ASSERT_EQ(out.Width(), 24);
  // Turned counter-clockwise: the red left half is now at the bottom.
  EXPECT_EQ(out.Pixel(12, 31), MakeColor(255, 0, 0));
  EXPECT_EQ(out.Pixel(12, 0), MakeColor(0, 0, 255));
}

TEST_F(ConvertRun, SelectionLimitsTheOperationsAfterIt) {
  const RunResult r =
      Run("--op Negative --select 0,0,9,9 --op Negative " + Path("in.png") + " " + Path("out.png"));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const TPictureBitmap out = Load("out.png");
  EXPECT_EQ(out.Pixel(5, 5), MakeColor(255, 0, 0));    // inverted twice
  EXPECT_EQ(out.Pixel(10, 10), MakeColor(0, 255, 255));  // once
}

TEST_F(ConvertRun, BlackAndWhiteResult) {
  const RunResult r = Run("--op ConvertToBWThreshold=-1 --info " + Path("in.png") + " " + Path("bw.png"));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 8), "64 48 1 ");
}

TEST_F(ConvertRun, ExitCodes) {
  const RunResult missing = Run(Path("nothing.png") + " -");
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("nothing.png"), std::string::npos);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);

  const RunResult unwritable = Run(Path("in.png") + " " + Path("no/such/folder/out.png"));
  EXPECT_EQ(unwritable.exit_code, 1);
  EXPECT_FALSE(unwritable.err.empty());

  const RunResult huge = Run("--op Resample=100000,100000,none " + Path("in.png") + " -");
  EXPECT_EQ(huge.exit_code, 1);
  EXPECT_NE(huge.err.find("too large"), std::string::npos) << huge.err;

  EXPECT_EQ(Run("--op Rotate=abc " + Path("in.png") + " -").exit_code, 2);
  EXPECT_EQ(Run(Path("in.png")).exit_code, 2);
  const RunResult help = Run("--help");
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("Usage: vistrel-convert"), std::string::npos);
}

TEST_F(ConvertRun, HostileInputFailsCleanly) {
  {
    FILE* f = std::fopen(Path("bad.png").c_str(), "wb");
    std::fputs("\x89PNG\r\n\x1a\n garbage that is not a png", f);
    std::fclose(f);
  }
  const RunResult r = Run(Path("bad.png") + " -");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_FALSE(r.err.empty());
}

}  // namespace
}  // namespace vistrel

namespace vistrel {
namespace {

TEST_F(ConvertRun, EffectsOfTheEffectsDialogRunFromTheCommandLine) {
  const std::string neutral =
      "--op EffectContrast=0,0 --op EffectHSV=0 --op EffectLevels=0,255 --op EffectBumpMap=0 --op EffectLens=0 "
      "--op EffectWave=0 --op EffectMorph=0,0 --op EffectFFT=0,100 --op EffectGamma=100 --op EffectSharpen=0 ";
  const RunResult same = Run(neutral + Path("in.png") + " " + Path("same.png"));
  ASSERT_EQ(same.exit_code, 0) << same.err;
  EXPECT_TRUE(Load("same.png") == Load("in.png"));
  const RunResult darker = Run("--op EffectContrast=0,-100 " + Path("in.png") + " " + Path("dark.png"));
  ASSERT_EQ(darker.exit_code, 0) << darker.err;
  EXPECT_EQ(Load("dark.png").Pixel(5, 5), kBlack);
  EXPECT_EQ(Run("--op EffectGamma=5 " + Path("in.png") + " -").exit_code, 2);  // below the range
}

TEST_F(ConvertRun, PixelateAndBlurHideTheGreenPixelInsideTheSelectionOnly) {
  const RunResult r = Run("--select 24,16,39,31 --op Pixelate " + Path("in.png") + " " + Path("pix.png"));
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const TPictureBitmap pix = Load("pix.png");
  // Blocks of 8 from the selection's corner: the green pixel's block is one
  // mean colour, 1 green pixel in 64 blue ones.
  for (int y = 24; y < 32; ++y)
    for (int x = 32; x < 40; ++x) ASSERT_EQ(pix.Pixel(x, y), MakeColor(0, 4, 251));
  EXPECT_EQ(pix.Pixel(24, 16), MakeColor(255, 0, 0));
  EXPECT_EQ(pix.Pixel(40, 24), MakeColor(0, 0, 255));  // outside
  EXPECT_EQ(pix.Pixel(23, 24), MakeColor(255, 0, 0));

  ASSERT_EQ(Run("--op Blur " + Path("in.png") + " " + Path("blur.png")).exit_code, 0);
  const TPictureBitmap blur = Load("blur.png");
  EXPECT_LT(GreenOf(blur.Pixel(32, 24)), 40);
  EXPECT_EQ(blur.Pixel(2, 2), MakeColor(255, 0, 0));
  const TColor edge = blur.Pixel(31, 5);  // red and blue run into each other
  EXPECT_GT(BlueOf(edge), 60);
  EXPECT_GT(RedOf(edge), 60);
  EXPECT_EQ(Run("--op Blur=0 " + Path("in.png") + " -").exit_code, 2);
}

}  // namespace
}  // namespace vistrel
