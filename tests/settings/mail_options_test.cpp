#include "settings/mail_options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vistrel {
namespace {

namespace fs = std::filesystem;

class MailOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ =
        (fs::temp_directory_path() / ("vistrel-mail-options-" + std::to_string(getpid()) + ".reg"))
            .string();
    fs::remove(path_);
  }
  void TearDown() override { fs::remove(path_); }
  std::string FileText() {
    std::ifstream in(path_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string path_;
};

TEST_F(MailOptionsTest, DefaultsAndTheStoredKinds) {
  MailOptions o;
  {
    SettingsStore store(path_);
    o = MailOptions::Load(store);
  }
  EXPECT_EQ(o.Subject, "Vistrel-Pro Picture");
  EXPECT_EQ(o.Body, "Picture attachment");
  EXPECT_TRUE(o.MimeEncode);
  EXPECT_FALSE(o.HTML);
  EXPECT_EQ(o.PictureType, 4);
  EXPECT_EQ(o.MailSecurity, 0);
  o.Body = "a\r\nb";
  o.MailSecurity = 1;
  {
    SettingsStore store(path_);
    o.Save(store);
  }
  const std::string text = FileText();
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\E-Mail]"),
            std::string::npos);
  EXPECT_NE(text.find("\"Body\"=\"a\\r\\nb\""), std::string::npos);
  EXPECT_NE(text.find("\"MimeEncode\"=\"1\""), std::string::npos);
  EXPECT_NE(text.find("\"HTML\"=\"0\""), std::string::npos);
  EXPECT_NE(text.find("\"PictureType\"=dword:00000004"), std::string::npos);
  EXPECT_NE(text.find("\"MailSecurity\"=dword:00000001"), std::string::npos);
  EXPECT_NE(text.find("\"MailServer\"=\"\""), std::string::npos);
}

TEST_F(MailOptionsTest, APictureTypeOutOfRangeFallsBackToPng) {
  {
    SettingsStore store(path_);
    store.WriteInteger(kMailSection, "PictureType", 9);
    store.WriteInteger(kMailSection, "MailSecurity", 3);
  }
  SettingsStore store(path_);
  EXPECT_EQ(MailOptions::Load(store).PictureType, 4);
  EXPECT_EQ(MailOptions::Load(store).MailSecurity, 0);
}

}  // namespace
}  // namespace vistrel
