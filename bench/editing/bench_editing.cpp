// Editing speed on a 3840 x 2160 picture in the real picture window: each
// picture function and resize preset from its command to the repainted
// view, and one "Lock Preview" slider step of the effects dialog until
// "Result:" has repainted; against vips and ImageMagick's convert doing the
// same to the same picture (each a whole command run: load, work, save in
// their fastest uncompressed formats); the engine's blur and pixelate alone
// against the same. Prints median times and ratios with
// their spread over the runs. Run under an X server (run.sh starts Xvfb).
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "commands/TActionList1.h"
#include "commands/command_table.h"
#include "picture/app_context.h"
#include "imaging/formats/io_params.h"
#include "imaging/formats/picture_file.h"
#include "imaging/picture_proc.h"
#include "picture/TEffectsForm.h"
#include "capture/forms/request_grab.h"
#include "capture/request_sources.h"
#include "picture/TMainForm1.h"
#include "platform/fake/fake_cursor_source.h"
#include "platform/fake/fake_hotkeys.h"
#include "platform/fake/fake_screen_source.h"
#include "platform/fake/fake_sound.h"
#include "platform/fake/fake_window_source.h"
#include "platform/platform.h"

using namespace vistrel;

namespace {

constexpr int kWidth = 3840, kHeight = 2160, kRuns = 5;

struct Case {
  const char* name;
  int command;
  std::string vips;     // arguments between "vips" and "in out" (op first)
  std::string vips_tail;
  std::string convert;  // options between the input and the output
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double RunMs(const std::string& command) {
  QElapsedTimer timer;
  timer.start();
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return -1;
  return double(timer.nsecsElapsed()) / 1e6;
}

class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Processes events until the widget has painted once more.
void WaitForPaint(PaintCounter& counter, int before) {
  while (counter.paints == before) QApplication::processEvents(QEventLoop::AllEvents, 5);
  QApplication::processEvents();
}

void Report(const char* name, const std::vector<double>& ours, const std::vector<double>& vips,
            const std::vector<double>& convert) {
  const double o = Median(ours), v = Median(vips), c = Median(convert);
  auto spread = [&](const std::vector<double>& peer) {
    double lo = 1e9, hi = 0;
    for (double a : ours)
      for (double b : peer) lo = std::min(lo, a / b), hi = std::max(hi, a / b);
    return std::make_pair(lo, hi);
  };
  const auto sv = spread(vips), sc = spread(convert);
  if (&vips == &convert) {
    std::printf("%-24s ours %8.1f ms  vips %8.1f ms  ours/vips %.2f (%.2f-%.2f)\n", name, o, v,
                o / v, sv.first, sv.second);
    std::fflush(stdout);
    return;
  }
  std::printf(
      "%-24s ours %8.1f ms  vips %8.1f ms  convert %8.1f ms  ours/vips %.2f (%.2f-%.2f)  "
      "ours/convert %.2f (%.2f-%.2f)\n",
      name, o, v, c, o / v, sv.first, sv.second, o / c, sc.first, sc.second);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTemporaryDir work;
  const std::string dir = argc > 1 ? argv[1] : work.path().toStdString();
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir + "/config"));

  TPlatform platform;
  auto* screen = new FakeScreenSource;
  screen->monitors = {{TScreenRect{0, 0, kWidth, kHeight}, true, "BENCH"}};
  screen->desktop.Allocate(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      screen->desktop.SetPixel(
          x, y,
          MakeColor(std::uint8_t(x * 255 / kWidth), std::uint8_t(y * 255 / kHeight),
                    std::uint8_t((x * 7 + y * 13) & 255)));
  platform.screen.reset(screen);
  platform.cursor = std::make_unique<FakeCursorSource>();
  platform.windows = std::make_unique<FakeWindowSource>();
  platform.hotkeys = std::make_unique<FakeHotkeys>();
  platform.sound = std::make_unique<FakeSoundPlayer>();
  FakeBeeper beeper;
  TActionList1 commands;
  TrayOptions tray;
  TAppContext context{commands, tray, platform, beeper, [] { return false; }};

  LoadCaptureSettings(context);
  TMainForm1 window(context, GrabForCaptureRequest(context, RequestForOpen()));
  commands.SetChecked(cmd::kSound, false);
  window.show();
  QApplication::processEvents();
  const TPictureBitmap original = window.Document().Picture();
  const std::string in_ppm = dir + "/in.ppm", in_v = dir + "/in.v";
  TIOParams params;
  params.Reset();
  SavePictureFile(in_ppm, original, params);
  RunMs("vips copy " + in_ppm + " " + in_v);
  std::ofstream(dir + "/sharpen.mat") << "3 3 16 0\n-1 0 -1\n0 20 0\n-1 0 -1\n";
  PaintCounter counter;
  window.PictureView1->viewport()->installEventFilter(&counter);

  const std::string mat = dir + "/sharpen.mat";
  const Case cases[] = {
      {"Grayscale colors", 11, "colourspace", "b-w", "-colorspace gray"},
      {"Invert Colors", 12, "invert", "", "-negate"},
      {"Horizontal Mirror", 13, "flip", "horizontal", "-flop"},
      {"Vertical Mirror", 14, "flip", "vertical", "-flip"},
      {"Sharpen", 16, "conv", mat,
       "-morphology Convolve '3x3:-1,0,-1 0,20,0 -1,0,-1' -evaluate divide 16"},
      {"Rotate 90", 28, "rot", "d270", "-rotate -90"},
      {"Brightness", 29, "linear", "1 10", "-modulate 108"},
      {"Contrast", 30, "linear", "1.2 -- -25", "-brightness-contrast 0x20"},
      {"Resize to 640 x 480", 35, "resize", "0.16667 --vscale 0.22222 --kernel mitchell",
       "-filter Mitchell -resize 640x480!"},
      {"Resize to 1600 x 1200", 42, "resize", "0.41667 --vscale 0.55556 --kernel mitchell",
       "-filter Mitchell -resize 1600x1200!"},
  };
  for (const Case& c : cases) {
    std::vector<double> ours, vips, convert;
    for (int run = 0; run < kRuns; ++run) {
      window.Document().Picture() = original;
      window.Document().Undo().ClearUndoStack();
      window.PictureView1->ImageChanged();
      QApplication::processEvents();
      const int before = counter.paints;
      QElapsedTimer timer;
      timer.start();
      commands.Action(c.command)->trigger();
      WaitForPaint(counter, before);
      ours.push_back(double(timer.nsecsElapsed()) / 1e6);
      vips.push_back(RunMs("vips " + c.vips + " " + in_v + " " + dir + "/out.v " + c.vips_tail));
      convert.push_back(RunMs("convert " + in_ppm + " " + c.convert + " " + dir + "/out.ppm"));
    }
    Report(c.name, ours, vips, convert);
  }

  // The redaction operations of the engine on the whole picture, against
  // vips and convert doing the nearest thing.
  const struct {
    const char* name;
    const char* op;
    double arg;
    std::string vips, convert;
  } engine[] = {
      {"Engine: Blur 3", "Blur", 3, "gaussblur " + in_v + " " + dir + "/out.v 3",
       "-gaussian-blur 0x3"},
      {"Engine: Pixelate 8", "Pixelate", 8, "shrink " + in_v + " " + dir + "/out.v 8 8",
       "-scale 12.5% -scale 800%"},
  };
  for (const auto& e : engine) {
    std::vector<double> ours, vips, convert;
    for (int run = 0; run < kRuns; ++run) {
      TPictureBitmap picture = original;
      TPictureProc proc(picture);
      QElapsedTimer timer;
      timer.start();
      proc.Run(e.op, TOpArgs{{e.arg}});
      ours.push_back(double(timer.nsecsElapsed()) / 1e6);
      vips.push_back(RunMs("vips " + e.vips));
      convert.push_back(RunMs("convert " + in_ppm + " " + e.convert + " " + dir + "/out.ppm"));
    }
    Report(e.name, ours, vips, convert);
  }

  // One slider step with "Lock Preview" on, per page, against vips doing the
  // page's nearest operation on the whole picture.
  TEffectsForm form(original, &window);
  form.show();
  form.LockPreview->setChecked(true);
  QApplication::processEvents();
  const struct {
    const char* name;
    int page, control, value;
    std::string vips;
  } steps[] = {
      {"Previews: Contrast", 0, 0, 30, "linear " + in_v + " " + dir + "/out.v 1.5 -- -64"},
      {"Previews: Gamma", 12, 0, 150, "gamma " + in_v + " " + dir + "/out.v"},
      {"Previews: Sharpen", 13, 0, 50, "sharpen " + in_v + " " + dir + "/out.v"},
      {"Previews: User filter", 4, 4, 20, "conv " + in_v + " " + dir + "/out.v " + mat},
      {"Previews: Rotate", 10, 2, 30, "rotate " + in_v + " " + dir + "/out.v 30"},
  };
  for (const auto& s : steps) {
    form.Pages->setCurrentIndex(s.page);
    QApplication::processEvents();
    std::vector<double> ours, vips;
    for (int run = 0; run < kRuns; ++run) {
      QElapsedTimer timer;
      timer.start();
      form.SetValue(s.page, s.control, s.value + run);
      QApplication::processEvents();
      ours.push_back(double(timer.nsecsElapsed()) / 1e6);
      vips.push_back(RunMs("vips " + s.vips));
    }
    Report(s.name, ours, vips, vips);
  }
  return 0;
}
