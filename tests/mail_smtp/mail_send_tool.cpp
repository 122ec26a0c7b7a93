// Sends one file with the program's SMTP client, for the tests against real
// and faulty servers:
//   mail_send_tool SERVER FROM_NAME FROM TO SUBJECT mime|uu FILE NAME [BODY]
// BODY lines are separated by "\n". $MAIL_ABORT_AFTER_MS makes the pump
// press Abort after that time. $MAIL_SECURITY is none, starttls or tls;
// $MAIL_PASSWORD answers the login (unset: the login is cancelled).
// Exit 0 sent, 1 with the error on stderr.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "mail/TSmtpClient.h"
#include "mail/message_text.h"
#include "mail/server_field.h"

int main(int argc, char** argv) {
  using namespace vistrel;
  if (argc < 9) {
    std::fprintf(stderr, "usage: %s SERVER FROM_NAME FROM TO SUBJECT mime|uu FILE NAME [BODY]\n", argv[0]);
    return 2;
  }
  TSmtpClient smtp;
  const auto start = std::chrono::steady_clock::now();
  const char* abort_after = std::getenv("MAIL_ABORT_AFTER_MS");
  smtp.Pump = [&] {
    if (abort_after && std::chrono::steady_clock::now() - start > std::chrono::milliseconds(std::atoi(abort_after)))
      smtp.Abort();
  };
  const char* security = std::getenv("MAIL_SECURITY");
  if (security && std::strcmp(security, "starttls") == 0) smtp.Security = TMailSecurity::StartTls;
  if (security && std::strcmp(security, "tls") == 0) smtp.Security = TMailSecurity::Tls;
  smtp.AskPassword = []() -> std::optional<std::string> {
    const char* password = std::getenv("MAIL_PASSWORD");
    if (!password) return std::nullopt;
    return std::string(password);
  };
  std::string error;
  try {
    const TServerAddress server = ParseServerField(argv[1]);
    smtp.Host = server.host;
    smtp.Port = server.port;
    smtp.UserID = "tester";
    smtp.Connect();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  try {
    smtp.MailMessage.FromName = argv[2];
    smtp.MailMessage.FromAddress = argv[3];
    smtp.MailMessage.ToAddress = {argv[4]};
    smtp.MailMessage.Subject = argv[5];
    smtp.EncodeType = std::string(argv[6]) == "uu" ? uuCode : uuMime;
    smtp.MailMessage.Attachments = {{argv[7], argv[8]}};
    smtp.MailMessage.Body = SplitLines(argc > 9 ? argv[9] : "Picture attachment");
    smtp.SendMail();
  } catch (const std::exception& e) {
    error = e.what();
  }
  try {
    smtp.Disconnect();
  } catch (const std::exception& e) {
    if (error.empty()) error = e.what();
  }
  if (error.empty()) return 0;
  std::fprintf(stderr, "%s\n", error.c_str());
  return 1;
}
