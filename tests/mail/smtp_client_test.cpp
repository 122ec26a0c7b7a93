#include "mail/TSmtpClient.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "mail/address_list.h"
#include "mail/socket_errors.h"
#include "script_server.h"

namespace vistrel {
namespace {

using namespace vistrel::testing;
namespace fs = std::filesystem;

std::vector<Step> Greeting() { return {Reply("220 test ESMTP\r\n"), ReadLine(), Reply("250 hello\r\n")}; }

std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class SmtpClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("vistrel-smtp-" + std::to_string(getpid()));
    fs::create_directories(folder_);
    std::ofstream(folder_ / "Attachment.png", std::ios::binary) << "abc";
  }
  void TearDown() override { fs::remove_all(folder_); }

  void Fill(TSmtpClient& client, std::uint16_t port) {
    client.Host = "127.0.0.1";
    client.Port = port;
    client.UserID = "tester";
    client.MailMessage.FromAddress = "me@example.org";
    client.MailMessage.FromName = "Me";
    client.MailMessage.Subject = "S";
    client.MailMessage.ToAddress = {"You <you@example.org>"};
    client.MailMessage.Body = {"Picture attachment"};
    client.MailMessage.Attachments = {{(folder_ / "Attachment.png").string(), "Attachment.PNG"}};
  }

  std::string Failure(const std::function<void()>& f) {
    try {
      f();
    } catch (const TMailError& e) {
      return e.what();
    }
    return "";
  }

  fs::path folder_;
};

TEST_F(SmtpClientTest, TheConversationAndItsBytes) {
  ScriptServer server(Greeting() + std::vector<Step>{
      ReadLine(), Reply("250 reset\r\n"),
      ReadLine(), Reply("250-sender\r\n250 ok\r\n"),  // a two-line reply is read whole
      ReadLine(), Reply("250 rcpt\r\n"),
      ReadLine(), Reply("354 go\r\n"),
      ReadData(), Reply("250 queued\r\n"),
      ReadLine(), Reply("221 bye\r\n")});
  TSmtpClient client;
  Fill(client, server.Port());
  client.Connect();
  client.SendMail();
  client.Disconnect();
  EXPECT_EQ(server.Commands(),
            (std::vector<std::string>{"HELO tester", "RSET", "MAIL FROM:<me@example.org>",
                                      "RCPT TO:<you@example.org>", "DATA", "QUIT"}));
  const std::string b = client.Boundary();
  EXPECT_EQ(server.Data(),
            "From: Me<me@example.org>\r\nTo: You <you@example.org>\r\nSubject: S\r\n"
            "Mime-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"" + b + "\"\r\n\r\n\r\n"
            "--" + b + "\r\nContent-Type: text/plain; charset=us-ascii\r\n\r\nPicture attachment\r\n"
            "--" + b + "\r\nContent-Type: application/octet-stream; name=\"Attachment.PNG\"\r\n"
            "Content-Transfer-Encoding: base64\r\n"
            "Content-Disposition: attachment; filename=\"Attachment.PNG\"\r\n\r\nYWJj\r\n"
            "--" + b + "--\r\n");
  EXPECT_FALSE(client.Connected());
  // ClearParams: recipients and attachments are gone, the rest stays.
  EXPECT_TRUE(client.MailMessage.ToAddress.empty());
  EXPECT_TRUE(client.MailMessage.Attachments.empty());
  EXPECT_EQ(client.MailMessage.Subject, "S");
}

TEST_F(SmtpClientTest, ARefusingGreetingIsTheErrorAndCloses) {
  ScriptServer server({Reply("421 busy, come back later\r\n"), Hang()});
  TSmtpClient client;
  Fill(client, server.Port());
  EXPECT_EQ(Failure([&] { client.Connect(); }), "421 busy, come back later");
  EXPECT_FALSE(client.Connected());
}

TEST_F(SmtpClientTest, ARefusedHeloFailsAuthentication) {
  ScriptServer server({Reply("220-first\r\n220 second\r\n"), ReadLine(), Reply("501 who?\r\n"), Hang()});
  TSmtpClient client;
  Fill(client, server.Port());
  EXPECT_EQ(Failure([&] { client.Connect(); }), "Authentication failed");
  EXPECT_FALSE(client.Connected());
}

TEST_F(SmtpClientTest, ADroppedConnectionIsNeverASend) {
  // Closed after the greeting, after MAIL FROM, and in the middle of DATA.
  for (int cut : {0, 1, 2}) {
    std::vector<Step> script = Greeting() + std::vector<Step>{ReadLine(), Reply("250 reset\r\n")};
    if (cut >= 1) script = script + std::vector<Step>{ReadLine(), Reply("250 ok\r\n"), ReadLine(), Reply("250 ok\r\n"), ReadLine(), Reply("354 go\r\n")};
    script.push_back(CloseNow());
    ScriptServer server(script);
    TSmtpClient client;
    Fill(client, server.Port());
    client.Connect();
    const std::string error = Failure([&] { client.SendMail(); });
    EXPECT_TRUE(error == kNoReplyText || error == "10054:Connection reset by peer") << cut << ": " << error;
    EXPECT_FALSE(client.MailMessage.ToAddress.empty());  // nothing counted as sent
    client.Disconnect();                                  // quietly, the connection is gone
    EXPECT_FALSE(client.Connected());
  }
}

TEST_F(SmtpClientTest, NoAcceptedRecipientStopsBeforeData) {
  // A temporary refusal is as much a refusal as a permanent one.
  for (const std::string refusal : {"550 5.1.1 no such user", "450 4.2.1 mailbox busy"}) {
    ScriptServer server(Greeting() + std::vector<Step>{
        ReadLine(), Reply("250 reset\r\n"), ReadLine(), Reply("250 ok\r\n"),
        ReadLine(), Reply(refusal + "\r\n"), ReadLine(), Reply("221 bye\r\n")});
    TSmtpClient client;
    Fill(client, server.Port());
    client.Connect();
    EXPECT_EQ(Failure([&] { client.SendMail(); }), refusal);
    client.Disconnect();
    EXPECT_EQ(server.Commands().back(), "QUIT");
    EXPECT_EQ(server.Commands().size(), 5u);  // no DATA
  }
}

TEST_F(SmtpClientTest, ARefusedRecipientAmongAcceptedOnesDoesNotStopTheSend) {
  ScriptServer server(Greeting() + std::vector<Step>{
      ReadLine(), Reply("250 reset\r\n"), ReadLine(), Reply("250 ok\r\n"),
      ReadLine(), Reply("550 no\r\n"), ReadLine(), Reply("250 ok\r\n"),
      ReadLine(), Reply("354 go\r\n"), ReadData(), Reply("250 queued\r\n")});
  TSmtpClient client;
  Fill(client, server.Port());
  client.MailMessage.ToBlindCarbonCopy = {"hidden@example.org"};
  client.Connect();
  client.SendMail();
  EXPECT_EQ(server.Commands()[4], "RCPT TO:<hidden@example.org>");
  EXPECT_EQ(server.Data().find("hidden"), std::string::npos);  // never in the header
}

TEST_F(SmtpClientTest, RefusalsAtEachStepAreTheServersLine) {
  const std::vector<std::string> lines = {"451 try RSET later", "553 sender refused", "554 no DATA",
                                          "552 too big"};
  for (std::size_t step = 0; step < lines.size(); ++step) {
    std::vector<Step> script = Greeting();
    const std::vector<std::string> ok = {"250 reset", "250 ok", "250 rcpt", "354 go"};
    for (std::size_t i = 0; i <= step + (step >= 2 ? 1 : 0); ++i) {
      const bool refuse = i == step + (step >= 2 ? 1 : 0);
      if (i == 4) script.push_back(ReadData());
      else script.push_back(ReadLine());
      script.push_back(Reply((refuse ? lines[step] : ok[i]) + "\r\n"));
    }
    script.push_back(ReadLine());
    script.push_back(Reply("221 bye\r\n"));
    ScriptServer server(script);
    TSmtpClient client;
    Fill(client, server.Port());
    client.Connect();
    EXPECT_EQ(Failure([&] { client.SendMail(); }), lines[step]);
    client.Disconnect();
  }
}

TEST_F(SmtpClientTest, OneAbortEndsTheSendWithoutWaitingForQuit) {
  ScriptServer server(Greeting() + std::vector<Step>{
      ReadLine(), Reply("250 reset\r\n"), ReadLine(), Reply("250 ok\r\n"),
      ReadLine(), Reply("250 ok\r\n"), ReadLine(), Reply("354 go\r\n"), Hang()});
  TSmtpClient client;
  Fill(client, server.Port());
  client.Connect();
  bool in_data = false;
  client.Pump = [&] {
    if (in_data) client.Abort();
  };
  client.MailMessage.Body = {"x"};
  // The server swallows the data and never answers; the first pump in
  // the data stops it.
  in_data = true;
  EXPECT_EQ(Failure([&] { client.SendMail(); }), "Socket send aborted");
  client.Disconnect();  // must not wait for a QUIT reply
  EXPECT_FALSE(client.Connected());
}

TEST_F(SmtpClientTest, ARefusedQuitIsReportedAfterClosing) {
  ScriptServer server(Greeting() + std::vector<Step>{ReadLine(), Reply("500 no quitting\r\n")});
  TSmtpClient client;
  Fill(client, server.Port());
  client.Connect();
  EXPECT_EQ(Failure([&] { client.Disconnect(); }), "500 no quitting");
  EXPECT_FALSE(client.Connected());
}

std::vector<Step> Delivery() {
  return Greeting() + std::vector<Step>{ReadLine(), Reply("250 reset\r\n"), ReadLine(), Reply("250 ok\r\n"),
                                        ReadLine(), Reply("250 ok\r\n"), ReadLine(), Reply("354 go\r\n"),
                                        ReadData(), Reply("250 queued\r\n"), ReadLine()};
}

TEST_F(SmtpClientTest, AFailedGoodbyeAfterDeliverySaysTheMessageWasDelivered) {
  const std::string refused = "500 no quitting", garbage = "bye now";
  for (const std::string& quit_reply : {refused, garbage, std::string()}) {
    std::vector<Step> script = Delivery();
    script.push_back(quit_reply.empty() ? Hang() : Reply(quit_reply + "\r\n"));
    ScriptServer server(script);
    TSmtpClient client;
    Fill(client, server.Port());
    client.QuitTimeOut = 50;
    client.Connect();
    client.SendMail();
    const std::string error = Failure([&] { client.Disconnect(); });
    EXPECT_EQ(error, kDeliveredText + (quit_reply == refused  ? refused
                                      : quit_reply == garbage ? kInvalidReplyText + garbage
                                                              : std::string(kNoQuitReplyText)));
    EXPECT_FALSE(client.Connected());
  }
}

TEST_F(SmtpClientTest, RepliesWithoutACodeAreErrors) {
  // A greeting that is no SMTP reply, binary included, never connects.
  for (const std::string greeting : {"OK", "\x01\x02\xff", "22 short", "HTTP/1.1 400"}) {
    ScriptServer server({Reply(greeting + "\r\n"), Hang()});
    TSmtpClient client;
    Fill(client, server.Port());
    const std::string error = Failure([&] { client.Connect(); });
    EXPECT_EQ(error.rfind(kInvalidReplyText, 0), 0u) << error;
    EXPECT_FALSE(client.Connected());
  }
  // Nor is such an answer to the end of data, or in a multi-line reply,
  // an acceptance.
  for (const std::string end : {"OK\r\n", "250-fine\r\nOK\r\n"}) {
    std::vector<Step> script = Delivery();
    script.pop_back();
    script.pop_back();
    script.push_back(Reply(end));
    script.push_back(Hang());
    ScriptServer server(script);
    TSmtpClient client;
    Fill(client, server.Port());
    client.Connect();
    EXPECT_EQ(Failure([&] { client.SendMail(); }), std::string(kInvalidReplyText) + "OK");
    EXPECT_FALSE(client.MailMessage.ToAddress.empty());  // not counted as sent
  }
}

TEST_F(SmtpClientTest, SeveralRecipientsInOneFieldAreOneRcptEach) {
  ScriptServer server(Greeting() + std::vector<Step>{
      ReadLine(), Reply("250 reset\r\n"), ReadLine(), Reply("250 ok\r\n"),
      ReadLine(), Reply("250 ok\r\n"), ReadLine(), Reply("250 ok\r\n"), ReadLine(), Reply("250 ok\r\n"),
      ReadLine(), Reply("354 go\r\n"), ReadData(), Reply("250 ok\r\n")});
  TSmtpClient client;
  Fill(client, server.Port());
  client.MailMessage.ToAddress = {"a@example.org, B <b@example.org>; \"Doe, J\" <d@example.org>"};
  client.Connect();
  client.SendMail();
  const std::vector<std::string> commands = server.Commands();
  EXPECT_EQ(std::vector<std::string>(commands.begin() + 3, commands.begin() + 6),
            (std::vector<std::string>{"RCPT TO:<a@example.org>", "RCPT TO:<b@example.org>",
                                      "RCPT TO:<d@example.org>"}));
  EXPECT_NE(server.Data().find("\r\nTo: a@example.org,B <b@example.org>,\"Doe, J\" <d@example.org>\r\n"),
            std::string::npos);
}

TEST_F(SmtpClientTest, ABadAddressSendsNothing) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"me@example.org>\r\nRCPT TO:<evil@example.org", "you@example.org"},
      {"me@example.org", "you@example.org, CEO <ceo@bank.test> extra"},
      {"me@example.org", "two@at@example.org"},
      {"me @example.org", "you@example.org"}};
  for (const auto& [from, to] : cases) {
    ScriptServer server(Greeting() + std::vector<Step>{ReadLine(), Reply("221 bye\r\n")});
    TSmtpClient client;
    Fill(client, server.Port());
    client.MailMessage.FromAddress = from;
    client.MailMessage.ToAddress = {to};
    client.Connect();
    const std::string error = Failure([&] { client.SendMail(); });
    EXPECT_EQ(error.rfind(std::string(kBadAddressText) + "\"", 0), 0u) << error;
    client.Disconnect();
    EXPECT_EQ(server.Commands(), (std::vector<std::string>{"HELO tester", "QUIT"})) << from << " " << to;
  }
}

TEST_F(SmtpClientTest, CommandsCannotBeSplitByFields) {
  ScriptServer server(Greeting() + std::vector<Step>{
      ReadLine(), Reply("250 reset\r\n"), ReadLine(), Reply("250 ok\r\n"),
      ReadLine(), Reply("250 ok\r\n"), ReadLine(), Reply("354 go\r\n"), ReadData(), Reply("250 ok\r\n")});
  TSmtpClient client;
  Fill(client, server.Port());
  client.UserID = "x\r\nRSET";
  client.Connect();
  client.SendMail();
  EXPECT_EQ(server.Commands()[0], "HELO x RSET");
}

}  // namespace
}  // namespace vistrel
