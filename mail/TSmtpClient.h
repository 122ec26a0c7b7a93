// The SMTP conversation over the socket client: greeting, HELO, one
// message per SendMail, QUIT. Every reply is checked; a connection that
// closes instead of replying is an error, never a success.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "mail/TMailMessage.h"
#include "mail/TSocketClient.h"
#include "mail/message_composer.h"

namespace vistrel {

class TSmtpClient : public TSocketClient {
 public:
  TSmtpClient();

  std::string UserID;
  TMailMessage MailMessage;
  TEncodeMethod EncodeType = uuMime;
  TSubType SubType = mtPlain;
  std::string Charset = "us-ascii";
  // After a successful send the recipients and attachments are emptied.
  bool ClearParams = true;
  // The header lines of the last send.
  std::vector<std::string> FinalHeader;

  // Connects and exchanges greeting and HELO. Raises the greeting line for
  // a refusing server, "Authentication failed" for a refused HELO; the
  // connection is closed again after either.
  void Connect();
  // Sends MailMessage. Ignored while a send or connect runs.
  void SendMail();
  // QUIT and close. After an abort the socket is closed at once; a QUIT
  // refused with a reply above 339 raises that reply.
  void Disconnect();

  // The boundary of the last send.
  const std::string& Boundary() const { return boundary_; }

 private:
  // Transaction plus continuation lines; raises when no reply came.
  void Command(const std::string& command);
  // Reads continuation lines after the current reply line.
  void SkipContinuation(std::string line);
  // Raises the last reply line (without its line end).
  [[noreturn]] void RaiseReply() const;

  bool busy_ = false;
  std::string boundary_;
  std::string current_line_;
  std::mt19937 random_;
};

// The error when the server closed the connection instead of replying.
inline constexpr const char* kNoReplyText = "The mail server closed the connection without a reply";

}  // namespace vistrel
