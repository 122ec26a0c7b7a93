#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "mail/address_list.h"
#include "mail/message_composer.h"
#include "mail/message_text.h"
#include "mail/socket_errors.h"

namespace vistrel {
namespace {

namespace fs = std::filesystem;

class ComposerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("vistrel-compose-" + std::to_string(getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string File(const std::string& name, const std::string& bytes) {
    const fs::path p = folder_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  TMailMessage ProgramMessage() {
    TMailMessage m;
    m.FromAddress = "me@example.org";
    m.FromName = "Me";
    m.Subject = "Vistrel-Pro Picture";
    m.ToAddress = {"you@example.org"};
    m.Body = {"Picture attachment"};
    m.Attachments = {{File("Attachment.png", "abc"), "Attachment.PNG"}};
    return m;
  }
  fs::path folder_;
  const std::string boundary_ = "====================54535abcdef====";
};

TEST_F(ComposerTest, TheProgramsMessageHasItsExactBytes) {
  const TMailMessage m = ProgramMessage();
  const TComposeOptions options{uuMime, mtHtml, "us-ascii", boundary_};
  EXPECT_EQ(HeaderBlock(BuildHeader(m, options)),
            "From: Me<me@example.org>\r\n"
            "To: you@example.org\r\n"
            "Subject: Vistrel-Pro Picture\r\n"
            "Mime-Version: 1.0\r\n"
            "Content-Type: multipart/mixed; boundary=\"====================54535abcdef====\"\r\n"
            "\r\n\r\n");
  EXPECT_EQ(BuildBody(m, options),
            "--====================54535abcdef====\r\n"
            "Content-Type: text/plain; charset=us-ascii\r\n"
            "\r\n"
            "Picture attachment\r\n"
            "--====================54535abcdef====\r\n"
            "Content-Type: application/octet-stream; name=\"Attachment.PNG\"\r\n"
            "Content-Transfer-Encoding: base64\r\n"
            "Content-Disposition: attachment; filename=\"Attachment.PNG\"\r\n"
            "\r\n"
            "YWJj\r\n"
            "--====================54535abcdef====--\r\n");
}

TEST_F(ComposerTest, UuencodedPartsAreLabelledAndWrappedForDecoders) {
  TMailMessage m = ProgramMessage();
  // 14 bytes: the length character of that line is ".", which goes out
  // dot-stuffed.
  m.Attachments = {{File("a.bmp", "0123456789abcd"), "Attachment.BMP"}};
  const std::string body = BuildBody(m, {uuCode, mtPlain, "us-ascii", boundary_});
  EXPECT_NE(body.find("Content-Transfer-Encoding: x-uuencode\r\n"
                      "Content-Disposition: attachment; filename=\"Attachment.BMP\"\r\n"
                      "\r\n"
                      "begin 644 Attachment.BMP\r\n"
                      "..,#$R,S0U-C<X.6%B8V0\r\n"
                      "`\r\n"
                      "end\r\n"
                      "--====================54535abcdef====--\r\n"),
            std::string::npos)
      << body;
}

TEST_F(ComposerTest, BodyLinesAreDotStuffedAndSplitAtEveryLineBreak) {
  TMailMessage m = ProgramMessage();
  m.Attachments.clear();
  m.Body = SplitLines(".\r\n.hidden\nplain\r\rlast");
  EXPECT_EQ(BuildBody(m, {uuMime, mtPlain, "us-ascii", boundary_}),
            "..\r\n..hidden\r\nplain\r\n\r\nlast\r\n");
  EXPECT_EQ(BuildHeader(m, {uuMime, mtTabSeperated, "us-ascii", boundary_}).back(),
            "Content-Type: text/tab-separated-values; charset=us-ascii");
  // Only the first line starts with a dot: nothing before it to find.
  m.Body = {".first", "second"};
  EXPECT_EQ(BuildBody(m, {uuMime, mtPlain, "us-ascii", boundary_}), "..first\r\nsecond\r\n");
}

TEST_F(ComposerTest, FieldsCannotAddHeaderLinesOrAddresses) {
  TMailMessage m = ProgramMessage();
  m.Subject = "Hi\r\nBcc: victim@example.org\rX\nY";
  m.FromName = "A\r\nB";
  m.ToAddress = {"Name\r\nBcc: x <you@example.org>", "cc@example.org"};
  std::vector<std::string> h = BuildHeader(m, {uuMime, mtPlain, "us-ascii", boundary_});
  EXPECT_EQ(h[0], "From: A B<me@example.org>");
  EXPECT_EQ(h[1], "To: \"Name Bcc: x\" <you@example.org>,cc@example.org");
  EXPECT_EQ(h[2], "Subject: Hi Bcc: victim@example.org X Y");
  // A name that looks like an address list stays one name.
  m.FromName = "CEO <ceo@bank.test>, \"x";
  m.ToAddress = {"\"CEO <ceo@bank.test>, \\\"x\" <you@example.org>"};
  h = BuildHeader(m, {uuMime, mtPlain, "us-ascii", boundary_});
  EXPECT_EQ(h[0], "From: \"CEO <ceo@bank.test>, \\\"x\"<me@example.org>");
  EXPECT_EQ(h[1], "To: \"CEO <ceo@bank.test>, \\\"x\" <you@example.org>");
}

TEST_F(ComposerTest, ALongRecipientListIsFolded) {
  TMailMessage m = ProgramMessage();
  m.ToAddress = {""};
  for (int i = 0; i < 20; ++i) m.ToAddress[0] += "person" + std::to_string(i) + "@example.org;";
  const std::string to = BuildHeader(m, {uuMime, mtPlain, "us-ascii", boundary_})[1];
  std::size_t start = 0, count = 0;
  for (std::size_t end; (end = to.find("\r\n", start)) != std::string::npos; start = end + 3) {
    EXPECT_LE(end - start, 78u);
    EXPECT_EQ(to[end + 2], ' ');
  }
  for (std::size_t p = to.find("@example.org"); p != std::string::npos; p = to.find("@example.org", p + 1))
    ++count;
  EXPECT_EQ(count, 20u);
  EXPECT_EQ(to.substr(0, 44), "To: person0@example.org,person1@example.org,");
}

TEST_F(ComposerTest, NonAsciiTextIsUtf8AndLabelled) {
  TMailMessage m = ProgramMessage();
  m.Subject = "Grüße";
  m.FromName = "Jörg";
  m.ToAddress = {"Zoë <z@example.org>"};
  m.Body = {"Schöne Grüße = mehr"};
  const TComposeOptions options{uuMime, mtPlain, "us-ascii", boundary_};
  const std::vector<std::string> h = BuildHeader(m, options);
  EXPECT_EQ(h[0], "From: =?utf-8?B?SsO2cmc=?= <me@example.org>");
  EXPECT_EQ(h[1], "To: =?utf-8?B?Wm/Dqw==?= <z@example.org>");
  EXPECT_EQ(h[2], "Subject: =?utf-8?B?R3LDvMOfZQ==?=");
  const std::string body = BuildBody(m, options);
  EXPECT_NE(body.find("Content-Type: text/plain; charset=utf-8\r\n"
                      "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
                      "Sch=C3=B6ne Gr=C3=BC=C3=9Fe =3D mehr\r\n"),
            std::string::npos)
      << body;
  for (char c : body) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(MessageTextTest, LongTextsStayWithinLineLimits) {
  std::string umlauts;
  for (int i = 0; i < 40; ++i) umlauts += "ü";
  const std::string encoded = HeaderText(umlauts);
  std::size_t start = 0;
  while (start < encoded.size()) {
    auto end = encoded.find(' ', start);
    if (end == std::string::npos) end = encoded.size();
    EXPECT_LE(end - start, 75u);
    start = end + 1;
  }
  const std::string qp = QuotedPrintableLine(umlauts + " ");
  for (std::size_t s = 0, e; s < qp.size(); s = e + 2) {
    e = qp.find("\r\n", s);
    EXPECT_LE(e - s, 76u);
  }
  EXPECT_EQ(qp.substr(qp.size() - 5), "=20\r\n");
}

TEST(MessageTextTest, RecipientAddresses) {
  EXPECT_EQ(ExtractAddress("Name <a@b.org>"), "a@b.org");
  EXPECT_EQ(ExtractAddress("SMTP:a@b.org:x"), "a@b.org");
  EXPECT_EQ(ExtractAddress("a@b.org"), "a@b.org");
  EXPECT_EQ(ExtractAddress("<>"), "");
}

TEST(AddressListTest, EntriesNamesAndAddresses) {
  const std::vector<TMailbox> list =
      ParseAddressList(" a@b.org ,; Name <c@d.org>;\"Last, First\" <e@f.org>, SMTP:g@h.org:x,");
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].address, "a@b.org");
  EXPECT_EQ(list[0].name, "");
  EXPECT_EQ(list[1].name, "Name");
  EXPECT_EQ(list[1].address, "c@d.org");
  EXPECT_EQ(list[2].name, "Last, First");
  EXPECT_EQ(list[2].address, "e@f.org");
  EXPECT_EQ(list[3].address, "g@h.org");
  for (const char* bad : {"a b@c.org", "a@b@c.org", "@c.org", "a@", "abc", "a\x01@b.org", "<a,b@c.org>",
                          "N <a@b.org> tail", "N <a@b.org", "a@b.org, \"x", "<a@<b.org>"}) {
    try {
      ParseAddressList(bad);
      ADD_FAILURE() << bad;
    } catch (const TMailError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(std::string(kBadAddressText) + "\"", 0), 0u) << e.what();
    }
  }
  EXPECT_EQ(HeaderName("Me"), "Me");
  EXPECT_EQ(HeaderName("J. R. \"Bob\" Dobbs"), "\"J. R. \\\"Bob\\\" Dobbs\"");
  EXPECT_EQ(HeaderName("a\\b"), "\"a\\\\b\"");
}

TEST(MessageTextTest, BoundariesDifferAndKeepTheirFrame) {
  std::mt19937 random(1);
  const std::string a = MakeBoundary(random), b = MakeBoundary(random);
  EXPECT_NE(a, b);
  const std::regex frame("={20}54535[a-y]{6}====");
  EXPECT_TRUE(std::regex_match(a, frame)) << a;
  EXPECT_TRUE(std::regex_match(b, frame)) << b;
}

TEST_F(ComposerTest, AMissingAttachmentNamesTheFile) {
  TMailMessage m = ProgramMessage();
  m.Attachments = {{(folder_ / "gone.png").string(), ""}};
  try {
    BuildBody(m, {uuMime, mtPlain, "us-ascii", boundary_});
    FAIL();
  } catch (const TMailError& e) {
    EXPECT_NE(std::string(e.what()).find("gone.png"), std::string::npos);
  }
}

}  // namespace
}  // namespace vistrel
