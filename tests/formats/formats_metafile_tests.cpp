// Metafiles: drawn in a child process that may crash, loop or refuse
// without harm to the program; bitmaps inside WMF files; frames larger
// than the drawing.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "imaging/formats/decoder_child.h"
#include "imaging/formats/picture_file.h"

namespace vistrel {
namespace {

std::string ChildError(const std::string& script, const TChildLimits& limits = {}) {
  const std::uint8_t input[] = {1, 2, 3};
  try {
    DecodeInChild({"/bin/sh", "-c", script}, TByteSpan(input), limits);
  } catch (const FormatError& e) {
    return e.what();
  }
  return "(decoded)";
}

TEST(MetafileChild, CrashesHangsAndRefusalsBecomeErrorsWithTheirCause) {
  EXPECT_EQ(ChildError("kill -ABRT $$"), "The decoder crashed (Aborted)");
  EXPECT_EQ(ChildError("kill -SEGV $$"), "The decoder crashed (Segmentation fault)");
  EXPECT_EQ(ChildError("echo 'Pango-WARNING **: odd font' >&2; echo 'Not a Windows metafile' >&2; exit 1"),
            "Not a Windows metafile");
  EXPECT_EQ(ChildError("exit 4"), "The decoder failed with exit code 4");
  EXPECT_EQ(ChildError("printf VPIX; exit 0"), "The decoder's picture is incomplete");
  EXPECT_EQ(ChildError("printf 'XXXXXXXXXXXX'; exit 0"), "The decoder's answer is garbled");
  // A header claiming more than a picture may hold is refused before the
  // picture is allocated.
  EXPECT_EQ(ChildError("printf 'VPIX\\377\\377\\0\\0\\377\\377\\0\\0'; cat /dev/zero").rfind("Picture too large", 0), 0u);

  TChildLimits quick;
  quick.cpu_seconds = 1;
  EXPECT_EQ(ChildError("while :; do :; done", quick), "Decoding took more than 1 s of processor time");
  // A child that ignores SIGXCPU is killed at the hard limit.
  EXPECT_EQ(ChildError("trap '' XCPU; while :; do :; done", quick), "Decoding took more than 1 s of processor time");
  quick.wall_seconds = 1;
  EXPECT_EQ(ChildError("exec sleep 60", quick), "Decoding took longer than 1 s");
  // Closing its output does not end the wait for a child that goes on.
  EXPECT_EQ(ChildError("exec >&- 2>&-; exec sleep 60", quick), "Decoding took longer than 1 s");
}

int wait_hook_calls = 0;

TEST(MetafileChild, TheWaitHookRunsWhileTheChildDoes) {
  SetChildWaitHook([] { ++wait_hook_calls; });
  TChildLimits limits;
  limits.wall_seconds = 1;
  EXPECT_EQ(ChildError("exec sleep 60", limits), "Decoding took longer than 1 s");
  SetChildWaitHook(nullptr);
  EXPECT_GE(wait_hook_calls, 2);  // a second in 50 ms slices
}

TEST(MetafileChild, RunsWithoutDisplayWithinLimitsAndHandsBackPixels) {
  setenv("DISPLAY", ":97", 1);
  setenv("WAYLAND_DISPLAY", "wayland-9", 1);
  TChildLimits limits;
  limits.cpu_seconds = 7;
  limits.address_space = std::uint64_t(1) << 31;
  EXPECT_EQ(ChildError("echo \"[$DISPLAY$WAYLAND_DISPLAY] $(ulimit -t) $(ulimit -v) $(cat | wc -c)\" >&2; exit 1", limits),
            "[] 7 2097152 3");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");

  // Two pixels wide, one high: red then blue, stored blue-green-red.
  const std::uint8_t none[] = {0};
  const TPictureBitmap p = DecodeInChild(
      {"/bin/sh", "-c", "printf 'VPIX\\002\\0\\0\\0\\001\\0\\0\\0\\0\\0\\377\\377\\0\\0'"}, TByteSpan(none));
  ASSERT_EQ(p.Width(), 2);
  ASSERT_EQ(p.Height(), 1);
  EXPECT_EQ(p.Pixel(0, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(p.Pixel(1, 0), MakeColor(0, 0, 255));

  EXPECT_EQ(ChildError("exit 0", limits), "The decoder's picture is incomplete");
  try {
    DecodeInChild({"/nonexistent/vistrel-metafile", "wmf"}, TByteSpan(none));
    ADD_FAILURE();
  } catch (const FormatError& e) {
    EXPECT_STREQ(e.what(), "The decoder /nonexistent/vistrel-metafile is missing");
  }
}

TPictureBitmap LoadFile(const std::string& path) {
  TPictureBitmap picture;
  TIOParams params;
  LoadPictureFile(path, picture, params);
  return picture;
}

// libwmf writes inline images with xlink:href but without the namespace,
// which librsvg refuses.
TEST(MetafileReader, BitmapsInsideWmfFilesAreDrawn) {
  for (const char* name : {"bitmap-stretchdib.wmf", "bitmap-dibstretchblt.wmf"}) {
    SCOPED_TRACE(name);
    // A 4 x 4 bitmap, red above blue, stretched over the 100 x 50 frame.
    const TPictureBitmap p = LoadFile(std::string(VISTREL_PICTURES_DIR "/") + name);
    ASSERT_EQ(p.Width(), 100);
    ASSERT_EQ(p.Height(), 50);
    EXPECT_EQ(p.Pixel(50, 5), MakeColor(255, 0, 0));
    EXPECT_EQ(p.Pixel(50, 45), MakeColor(0, 0, 255));
  }
  // The same bitmap stretched over (10, 5)-(60, 25).
  const TPictureBitmap p = LoadFile(VISTREL_PICTURES_DIR "/bitmap-offset.wmf");
  EXPECT_EQ(p.Pixel(5, 2), kWhite);
  EXPECT_EQ(p.Pixel(35, 8), MakeColor(255, 0, 0));
  EXPECT_EQ(p.Pixel(35, 22), MakeColor(0, 0, 255));
  EXPECT_EQ(p.Pixel(65, 15), kWhite);
  EXPECT_EQ(p.Pixel(35, 30), kWhite);
}

// A few hundred bytes claiming a frame of 16000 x 16000 pixels and drawing
// a red rectangle at (10, 10)-(90, 40): the picture ends where the drawing
// does.
TEST(MetafileReader, HugeFrameIsCutToTheDrawing) {
  for (const char* name : {"wmf/wmf-huge-frame-small-drawing.wmf", "emf/emf-huge-frame-small-drawing.emf"}) {
    SCOPED_TRACE(name);
    const TPictureBitmap p = LoadFile(std::string(VISTREL_FUZZ_CORPUS_DIR "/") + name);
    EXPECT_GE(p.Width(), 90);
    EXPECT_LE(p.Width(), 100);
    EXPECT_GE(p.Height(), 40);
    EXPECT_LE(p.Height(), 50);
    EXPECT_EQ(p.Pixel(50, 25), MakeColor(255, 0, 0));
    EXPECT_EQ(p.Pixel(2, 2), kWhite);
  }
}

}  // namespace
}  // namespace vistrel
