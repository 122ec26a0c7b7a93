#include "settings/reg_file.h"

#include <gtest/gtest.h>

namespace vistrel {
namespace {

const char* kKey = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions";

TEST(RegFile, WritesTheDocumentedLayout) {
  RegFile f;
  RegKey& k = f.AddKey(kKey);
  k.Set("AutoFileName", RegValue::String("Picture"));
  k.Set("CustomW", RegValue::Dword(100));
  k.Set("AutoIntTime", RegValue::Binary({0, 0, 0, 0, 0, 0, 0, 0}));
  k.Set("TimerEnabled", RegValue::String("0"));
  EXPECT_EQ(FormatRegFile(f),
            "REGEDIT4\n\n"
            "[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n"
            "\"AutoFileName\"=\"Picture\"\n"
            "\"CustomW\"=dword:00000064\n"
            "\"AutoIntTime\"=hex:00,00,00,00,00,00,00,00\n"
            "\"TimerEnabled\"=\"0\"\n");
}

TEST(RegFile, EscapesRoundTripAndNegativeDwords) {
  RegFile f;
  RegKey& k = f.AddKey(kKey);
  k.Set("Text", RegValue::String("a\\b \"q\"\r\nline"));
  k.Set("Neg", RegValue::Dword(std::uint32_t(-5)));
  const std::string text = FormatRegFile(f);
  EXPECT_NE(text.find("\"Text\"=\"a\\\\b \\\"q\\\"\\r\\nline\""), std::string::npos);
  EXPECT_NE(text.find("\"Neg\"=dword:fffffffb"), std::string::npos);
  RegParseResult back = ParseRegFile(text);
  ASSERT_TRUE(back.Clean());
  EXPECT_EQ(back.file.FindKey(kKey)->values, k.values);
}

TEST(RegFile, ReadsRegeditExportsFromWindows) {
  // regedit's own export: UTF-16LE with a mark, CRLF, wrapped hex lines,
  // keys and names in another letter case, kinds the program never writes.
  const std::string utf8 =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\r\n"
      "\"AutoStart\"=hex:9a,99,99,99,99,99,\\\r\n"
      "  e6,40\r\n"
      "\"Folder\"=\"C:\\\\Users\\\\\xc3\xa9\"\r\n"
      "\"Expand\"=hex(2):25,00,00,00\r\n";
  std::string utf16 = "\xFF\xFE";
  for (unsigned char c :
       std::string("Windows Registry Editor Version 5.00\r\n\r\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\r\n"
                   "\"AutoStart\"=hex:9a,99,99,99,99,99,\\\r\n"
                   "  e6,40\r\n"
                   "\"Folder\"=\"C:\\\\Users\\\\")) {
    utf16 += char(c);
    utf16 += '\0';
  }
  utf16 += "\xE9";  // é as one UTF-16 unit
  utf16 += '\0';
  for (unsigned char c : std::string("\"\r\n\"Expand\"=hex(2):25,00,00,00\r\n")) {
    utf16 += char(c);
    utf16 += '\0';
  }
  for (const std::string& content : {utf8, utf16}) {
    RegParseResult r = ParseRegFile(content);
    EXPECT_TRUE(r.Clean());
    const RegKey* k = r.file.FindKey(kKey);  // other letter case
    ASSERT_NE(k, nullptr);
    ASSERT_NE(k->Find("autostart"), nullptr);
    EXPECT_EQ(k->Find("AutoStart")->bytes.size(), 8u);
    EXPECT_EQ(k->Find("Folder")->text, "C:\\Users\\\xc3\xa9");
    EXPECT_EQ(k->Find("Expand")->kind, RegValue::Kind::Raw);
    // Kept as it was when the file is written again.
    EXPECT_NE(FormatRegFile(r.file).find("\"Expand\"=hex(2):25,00,00,00"), std::string::npos);
  }
}

TEST(RegFile, DamagedLinesCostOnlyThemselves) {
  RegParseResult r = ParseRegFile(
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n"
      "\"Good\"=\"1\"\n"
      "\"Unclosed=\"x\n"
      "garbage line\n"
      "\"BadDword\"=dword:xyz\n"
      "\"BadHex\"=hex:0g,11\n"
      "[HKEY_CURRENT_USER\\Broken\n"
      "\"Orphan\"=\"lost\"\n"
      "[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n"
      "\"AlsoGood\"=dword:00000007\n"
      "\"Cut\"=hex:01,02,\\");
  EXPECT_FALSE(r.Clean());
  const RegKey* k = r.file.FindKey(kKey);
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->Find("Good")->text, "1");
  EXPECT_EQ(k->Find("AlsoGood")->dword, 7u);
  EXPECT_EQ(k->Find("BadDword"), nullptr);
  EXPECT_EQ(k->Find("BadHex"), nullptr);
  EXPECT_EQ(r.bad_lines.size(), 6u);
}

TEST(RegFile, HostileInputNeverThrows) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += char((i * 131 + 7) % 256);
  for (const std::string& s : {std::string(), std::string("\xFF\xFE"), std::string("\xFF\xFE\x41"),
                               junk, std::string(100000, '['), std::string("REGEDIT4\n\"\\"),
                               std::string("REGEDIT4\n[-HKEY_CURRENT_USER]\n\"a\"=\"b\"")}) {
    EXPECT_NO_THROW(ParseRegFile(s));
  }
}

TEST(RegFile, DeletionLinesRemoveKeysAndValues) {
  RegParseResult r = ParseRegFile(
      "REGEDIT4\n[HKEY_CURRENT_USER\\A\\B]\n\"x\"=\"1\"\n\"y\"=\"2\"\n\"x\"=-\n"
      "[HKEY_CURRENT_USER\\A\\B\\C]\n\"z\"=\"3\"\n[-HKEY_CURRENT_USER\\A\\B\\C]\n");
  EXPECT_TRUE(r.Clean());
  ASSERT_NE(r.file.FindKey("HKEY_CURRENT_USER\\A\\B"), nullptr);
  EXPECT_EQ(r.file.FindKey("HKEY_CURRENT_USER\\A\\B")->Find("x"), nullptr);
  EXPECT_EQ(r.file.FindKey("HKEY_CURRENT_USER\\A\\B\\C"), nullptr);
}

}  // namespace
}  // namespace vistrel
