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
  // Sends MailMessage. Ignored while a send or connect runs. A bad From
  // or recipient address raises before anything is sent; each address of
  // a recipient line ("a@b.org, Name <c@d.org>") gets its own RCPT TO.
  void SendMail();
  // QUIT and close. After an abort the socket is closed at once; a QUIT
  // refused with a reply above 339 raises that reply. QUIT waits at most
  // QuitTimeOut milliseconds. When the last SendMail was delivered, a
  // failed QUIT raises kDeliveredText followed by what went wrong.
  void Disconnect();
  int QuitTimeOut = 5000;

  // The boundary of the last send.
  const std::string& Boundary() const { return boundary_; }

 private:
  // Transaction plus continuation lines; raises when no reply came or it
  // was no SMTP reply.
  void Command(const std::string& command);
  // Reads continuation lines after the current reply line.
  void SkipContinuation(std::string line);
  // QUIT within QuitTimeOut, then close; raises what went wrong.
  void Quit();
  // Raises the last reply line (without its line end).
  [[noreturn]] void RaiseReply() const;

  bool busy_ = false;
  bool delivered_ = false;  // the last SendMail's end of data was accepted
  std::string boundary_;
  std::string current_line_;
  std::mt19937 random_;
};

// The error when the server closed the connection instead of replying.
inline constexpr const char* kNoReplyText = "The mail server closed the connection without a reply";
// Followed by the line received, for a reply without a three-digit code.
inline constexpr const char* kInvalidReplyText = "The mail server sent an invalid reply: ";
// Followed by the refusal, the abort or kNoQuitReplyText: nobody should
// send the message again.
inline constexpr const char* kDeliveredText = "The message was delivered; only the goodbye failed: ";
inline constexpr const char* kNoQuitReplyText = "no answer to QUIT";

}  // namespace vistrel
