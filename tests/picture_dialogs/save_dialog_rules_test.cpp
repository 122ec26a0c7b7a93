#include <gtest/gtest.h>

#include "picture/save_dialog_rules.h"

namespace vistrel {
namespace {

TEST(SaveDialogRules, EntriesAndExtensionsMatchBothWays) {
  const std::pair<const char*, int> table[] = {{"jpg", 1}, {"gif", 2}, {"tif", 3}, {"pcx", 4},
                                               {"png", 5}, {"bmp", 6}, {"jp2", 8}, {"pdf", 9},
                                               {"ico", 10}};
  for (const auto& [extension, entry] : table) {
    EXPECT_EQ(SaveEntryForExtension(extension, 5), entry) << extension;
    EXPECT_EQ(SaveEntryExtension(entry), extension);
  }
  EXPECT_EQ(SaveEntryExtension(7), "bmp");
  EXPECT_EQ(SaveEntryForExtension("bmp", 5, true), 7);
  // Anything else keeps the current entry; out-of-range entries write PNG.
  EXPECT_EQ(SaveEntryForExtension("xyz", 3), 3);
  EXPECT_EQ(SaveEntryForExtension("", 9), 9);
  EXPECT_EQ(SaveEntryExtension(0), "png");
  EXPECT_EQ(SaveEntryExtension(11), "png");
  EXPECT_STREQ(kSaveTypeEntries[1].text, "CompuServe Bitmap (GIF)  non LZW");
  EXPECT_STREQ(kSaveTypeEntries[9].pattern, "*.ico");
}

TEST(SaveDialogRules, WithExtensionCutsTheFileNameAtItsFirstDot) {
  EXPECT_EQ(WithExtension("Picture0001.png", "jpg"), "Picture0001.jpg");
  EXPECT_EQ(WithExtension("shot", "gif"), "shot.gif");
  EXPECT_EQ(WithExtension("a.b.c", "tif"), "a.tif");
  EXPECT_EQ(WithExtension("/tmp/my.dir/shot", "pdf"), "/tmp/my.dir/shot.pdf");
  EXPECT_EQ(WithExtension(".hidden", "png"), ".hidden.png");
  EXPECT_EQ(WithExtension("", "png"), "");
}

TEST(SaveDialogRules, FolderOfPathKeepsTheTrailingSeparator) {
  EXPECT_EQ(FolderOfPath("/home/u/Pictures/shot.png"), "/home/u/Pictures/");
  EXPECT_EQ(FolderOfPath("/shot.png"), "/");
  EXPECT_EQ(FolderOfPath("shot.png"), "");
}

}  // namespace
}  // namespace vistrel
