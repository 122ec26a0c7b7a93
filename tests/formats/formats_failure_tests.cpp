// Failures: unknown types, files that cannot be created, damaged and
// hostile input. A failed load leaves the picture alone; a failed save
// leaves no file behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "imaging/formats/picture_file.h"
#include "test_pictures.h"

namespace vistrel {
namespace {

namespace fs = std::filesystem;

std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const PictureFileError& e) {
    return e.what();
  }
  return {};
}

TEST(PictureFileErrors, UnknownExtensionWritesNothingAndSaysSo) {
  test::TScratchDir dir;
  const TPictureBitmap p = test::PhotoLike(4, 4);
  for (const char* name : {"a.xyz", "noextension", "a.wmf", "a.cur", "dir.png/a"}) {
    SCOPED_TRACE(name);
    const std::string message = MessageOf([&] { SavePictureFile(dir.File(name), p, TIOParams{}); });
    EXPECT_NE(message.find(dir.File(name)), std::string::npos) << message;
  }
  EXPECT_TRUE(fs::is_empty(dir.Path()));
  EXPECT_FALSE(CanSavePictureFile("a.wmf"));
  EXPECT_TRUE(CanLoadPictureFile("a.WMF"));
  EXPECT_FALSE(CanLoadPictureFile("a.pdf"));
  EXPECT_TRUE(CanSavePictureFile("a.Pdf"));
}

TEST(PictureFileErrors, WriterThatCannotCreateItsFileNamesThePath) {
  const std::string path = "/nonexistent-folder/picture.png";
  const std::string message = MessageOf([&] { SavePictureFile(path, test::PhotoLike(4, 4), TIOParams{}); });
  EXPECT_NE(message.find(path), std::string::npos) << message;
}

TEST(PictureFileErrors, FailedSaveLeavesTheOldFileAndNoTemporary) {
  test::TScratchDir dir;
  const std::string path = dir.File("keep.gif");
  SavePictureFile(path, test::PhotoLike(8, 8), TIOParams{});
  const auto before = test::ReadBytes(path);
  TPictureBitmap too_wide(70000, 1);
  EXPECT_THROW(SavePictureFile(path, too_wide, TIOParams{}), PictureFileError);
  EXPECT_EQ(test::ReadBytes(path), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
  EXPECT_THROW(SavePictureFile(dir.File("e.png"), TPictureBitmap{}, TIOParams{}), PictureFileError);
}

TEST(PictureFileErrors, FailedLoadLeavesPictureAndParametersUnchanged) {
  test::TScratchDir dir;
  const TPictureBitmap original = test::ScreenshotLike(20, 10);
  TIOParams params;
  params.jpeg_quality = 33;
  // Every reader, fed a good file cut short, garbage and an empty file.
  for (const char* name : {"t.png", "t.jpg", "t.gif", "t.bmp", "t.tif", "t.pcx", "t.dcx", "t.ico", "t.jp2", "t.j2k",
                           "t.tga", "t.ppm", "t.wbmp"}) {
    SCOPED_TRACE(name);
    SavePictureFile(dir.File(name), test::PhotoLike(33, 21), TIOParams{});
    auto bytes = test::ReadBytes(dir.File(name));
    for (std::size_t keep : {std::size_t(0), std::size_t(5), bytes.size() / 3}) {
      test::WriteBytes(dir.File(name), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + long(keep)));
      TPictureBitmap picture = original;
      TIOParams p = params;
      EXPECT_THROW(LoadPictureFile(dir.File(name), picture, p), PictureFileError) << keep;
      EXPECT_EQ(picture, original);
      EXPECT_EQ(p, params);
    }
  }
  TPictureBitmap picture = original;
  const std::string message = MessageOf([&] { LoadPictureFile(dir.File("missing.png"), picture, params); });
  EXPECT_NE(message.find(dir.File("missing.png")), std::string::npos);
  EXPECT_FALSE(MessageOf([&] { LoadPictureFile(dir.Path().string() + "/x.doc", picture, params); }).empty());
  EXPECT_EQ(picture, original);
}

// A JPEG cut short or with a marker in the middle of its picture data is
// refused, not shown as the grey that libjpeg fills in.
TEST(PictureFileErrors, TruncatedAndDamagedJpegAreRefused) {
  test::TScratchDir dir;
  TIOParams quality;
  quality.jpeg_quality = 90;
  SavePictureFile(dir.File("photo.jpg"), test::PhotoLike(320, 240), quality);
  const auto bytes = test::ReadBytes(dir.File("photo.jpg"));
  ASSERT_GT(bytes.size(), 6000u);
  std::vector<std::vector<std::uint8_t>> damaged;
  damaged.emplace_back(bytes.begin(), bytes.begin() + 2000);
  damaged.emplace_back(bytes.begin(), bytes.end() - 200);
  damaged.push_back(bytes);
  damaged.back()[bytes.size() / 2] = 0xFF;
  damaged.back()[bytes.size() / 2 + 1] = 0xD9;
  const TPictureBitmap original = test::ScreenshotLike(20, 10);
  TIOParams params;
  params.jpeg_quality = 33;
  for (std::size_t i = 0; i < damaged.size(); ++i) {
    SCOPED_TRACE(i);
    test::WriteBytes(dir.File("damaged.jpg"), damaged[i]);
    TPictureBitmap picture = original;
    TIOParams p = params;
    const std::string message = MessageOf([&] { LoadPictureFile(dir.File("damaged.jpg"), picture, p); });
    EXPECT_NE(message.find(dir.File("damaged.jpg")), std::string::npos) << message;
    EXPECT_EQ(picture, original);
    EXPECT_EQ(p, params);
  }
  TPictureBitmap whole;
  EXPECT_NO_THROW(LoadPictureFile(dir.File("photo.jpg"), whole, params));
}

// Saving over a file: refused where the user may not write it, its
// permissions kept otherwise, and a symbolic link is replaced, not followed.
TEST(PictureFileErrors, SavingOverAFileRespectsItsPermissions) {
  test::TScratchDir dir;
  const TPictureBitmap p = test::PhotoLike(8, 8);
  const std::string kept = dir.File("kept.png");
  SavePictureFile(kept, p, TIOParams{});
  fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  SavePictureFile(kept, test::ScreenshotLike(8, 8), TIOParams{});
  EXPECT_EQ(fs::status(kept).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  const std::string elsewhere = dir.File("elsewhere.bmp");
  SavePictureFile(elsewhere, p, TIOParams{});
  const auto elsewhere_bytes = test::ReadBytes(elsewhere);
  fs::create_symlink(elsewhere, dir.File("link.png"));
  SavePictureFile(dir.File("link.png"), p, TIOParams{});
  EXPECT_FALSE(fs::is_symlink(dir.File("link.png")));
  EXPECT_EQ(test::ReadBytes(elsewhere), elsewhere_bytes);

  // A read-only file, tried by a user who is not its owner (root may write
  // anything, so the try runs as "nobody" then).
  const std::string locked = dir.File("locked.png");
  SavePictureFile(locked, p, TIOParams{});
  const auto locked_bytes = test::ReadBytes(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(dir.Path(), fs::perms::all);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    try {
      SavePictureFile(locked, p, TIOParams{});
    } catch (const PictureFileError& e) {
      _exit(std::string(e.what()).find(locked) != std::string::npos ? 0 : 3);
    }
    _exit(1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: written anyway, 3: the message lacks the path";
  EXPECT_EQ(test::ReadBytes(locked), locked_bytes);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 4);
}

// Unattended saves into a folder others may list are the user's alone; a
// private folder, an ordinary save and a replaced file keep the usual modes.
TEST(PictureFileErrors, UnattendedSavesIntoASharedFolderAreReadableByTheUserAlone) {
  test::TScratchDir dir;
  const TPictureBitmap p = test::PhotoLike(8, 8);
  const auto mode = [](const std::string& path) {
    return fs::status(path).permissions() & fs::perms::all;
  };
  const mode_t old_mask = ::umask(022);
  fs::permissions(dir.Path(), fs::perms(0755));
  SavePictureFile(dir.File("auto.png"), p, TIOParams{}, TSaveAccess::kPrivateWhereShared);
  EXPECT_EQ(mode(dir.File("auto.png")), fs::perms(0600));
  SavePictureFile(dir.File("chosen.png"), p, TIOParams{});
  EXPECT_EQ(mode(dir.File("chosen.png")), fs::perms(0644));
  fs::permissions(dir.File("chosen.png"), fs::perms(0640));
  SavePictureFile(dir.File("chosen.png"), p, TIOParams{}, TSaveAccess::kPrivateWhereShared);
  EXPECT_EQ(mode(dir.File("chosen.png")), fs::perms(0640));

  fs::permissions(dir.Path(), fs::perms(0700));
  SavePictureFile(dir.File("private.png"), p, TIOParams{}, TSaveAccess::kPrivateWhereShared);
  EXPECT_EQ(mode(dir.File("private.png")), fs::perms(0644));
  ::umask(old_mask);
}

// Headers that claim more pixels than the program accepts are refused
// before anything is allocated for them.
TEST(PictureFileErrors, AbsurdSizesAreRefusedWithAClearMessage) {
  test::TScratchDir dir;
  struct TCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  std::vector<TCase> cases;
  // BMP 100000 x 100000 at 24 bits.
  std::vector<std::uint8_t> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                   0xA0, 0x86, 1, 0, 0xA0, 0x86, 1, 0, 1, 0, 24, 0};
  bmp.resize(60, 0);
  cases.push_back({"big.bmp", bmp});
  cases.push_back({"big.ppm", {'P', '6', '\n', '9', '9', '9', '9', '9', ' ', '9', '9', '9', '9', '9', '\n', '2', '5', '5', '\n', 0}});
  cases.push_back({"big.wbmp", {0, 0, 0x87, 0xFF, 0x7F, 0x87, 0xFF, 0x7F}});
  std::vector<std::uint8_t> pcx(128, 0);
  pcx[0] = 10, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8, pcx[8] = 0xFF, pcx[9] = 0xFF, pcx[10] = 0xFF, pcx[11] = 0xFF;
  pcx[65] = 3, pcx[66] = 0, pcx[67] = 0;
  cases.push_back({"big.pcx", pcx});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteBytes(dir.File(c.name), c.bytes);
    TPictureBitmap picture;
    TIOParams params;
    const std::string message = MessageOf([&] { LoadPictureFile(dir.File(c.name), picture, params); });
    EXPECT_FALSE(message.empty());
    EXPECT_TRUE(picture.Empty());
  }
  // A PNG of 20000 x 20000 pixels (4 * 10^8 > 2^28) says how large it is.
  std::vector<std::uint8_t> png = test::ReadBytes(dir.File("big.bmp"));
  SavePictureFile(dir.File("small.png"), test::PhotoLike(2, 2), TIOParams{});
  png = test::ReadBytes(dir.File("small.png"));
  png[16] = 0, png[17] = 0, png[18] = 0x4E, png[19] = 0x20;  // width 20000
  png[20] = 0, png[21] = 0, png[22] = 0x4E, png[23] = 0x20;  // height 20000
  test::WriteBytes(dir.File("huge.png"), png);
  TPictureBitmap picture;
  TIOParams params;
  const std::string message = MessageOf([&] { LoadPictureFile(dir.File("huge.png"), picture, params); });
  EXPECT_FALSE(message.empty());
}

}  // namespace
}  // namespace vistrel
