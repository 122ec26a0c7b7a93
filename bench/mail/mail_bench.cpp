// Mails one file with the program's SMTP client, composition included and
// an empty pump, and prints the seconds each round took:
//   mail_bench SERVER FILE ROUNDS [starttls|tls USER PASSWORD]
// or writes the message it would send, for peers that send pre-built bytes:
//   mail_bench --message FILE OUT
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>

#include "mail/TSmtpClient.h"
#include "mail/server_field.h"

int main(int argc, char** argv) {
  using namespace vistrel;
  if (argc != 4 && argc != 7) {
    std::fprintf(stderr, "usage: %s SERVER FILE ROUNDS [starttls|tls USER PASSWORD]\n", argv[0]);
    return 2;
  }
  const bool login = argc == 7;
  const TMailSecurity security = !login ? TMailSecurity::None
                                 : std::strcmp(argv[4], "tls") == 0 ? TMailSecurity::Tls
                                                                    : TMailSecurity::StartTls;
  if (std::strcmp(argv[1], "--message") == 0) {
    TMailMessage m;
    m.FromName = "Bench";
    m.FromAddress = "bench@example.org";
    m.ToAddress = {"sink@example.org"};
    m.Subject = "Vistrel-Pro Picture";
    m.Body = {"Picture attachment"};
    m.Attachments = {{argv[2], "Attachment.BMP"}};
    std::mt19937 random(1);
    const TComposeOptions options{uuMime, mtPlain, "us-ascii", MakeBoundary(random)};
    std::ofstream(argv[3], std::ios::binary) << HeaderBlock(BuildHeader(m, options)) << BuildBody(m, options);
    return 0;
  }
  const TServerAddress server = ParseServerField(argv[1]);
  for (int round = 0; round < std::atoi(argv[3]); ++round) {
    const auto start = std::chrono::steady_clock::now();
    TSmtpClient smtp;
    smtp.Pump = [] {};
    smtp.Host = server.host;
    smtp.Port = server.port;
    smtp.UserID = login ? argv[5] : "bench";
    smtp.Security = security;
    if (login) smtp.AskPassword = [&] { return std::optional<std::string>(argv[6]); };
    try {
      smtp.Connect();
      smtp.MailMessage.FromName = "Bench";
      smtp.MailMessage.FromAddress = "bench@example.org";
      smtp.MailMessage.ToAddress = {"sink@example.org"};
      smtp.MailMessage.Subject = "Vistrel-Pro Picture";
      smtp.MailMessage.Body = {"Picture attachment"};
      smtp.MailMessage.Attachments = {{argv[2], "Attachment.BMP"}};
      smtp.SendMail();
      smtp.Disconnect();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.6f\n", took.count());
    std::fflush(stdout);
  }
  return 0;
}
