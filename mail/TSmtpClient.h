// The SMTP conversation over the socket client: greeting, HELO, one
// message per SendMail, QUIT. Every reply is checked; a connection that
// closes instead of replying is an error, never a success.
#pragma once

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "mail/TMailMessage.h"
#include "mail/TSocketClient.h"
#include "mail/message_composer.h"
#include "mail/socket_errors.h"

namespace vistrel {

// None: plain text and HELO, no login. StartTls: EHLO, STARTTLS, EHLO
// again. Tls: encrypted from the first byte. Both encrypted kinds log in
// when the server offers AUTH.
enum class TMailSecurity { None = 0, StartTls = 1, Tls = 2 };

// The port each kind uses when the server field names none.
std::uint16_t DefaultPort(TMailSecurity security);

class TSmtpClient : public TSocketClient {
 public:
  TSmtpClient();

  TMailSecurity Security = TMailSecurity::None;
  // Asked for the login password (the login name is UserID) when an
  // encrypted server offers AUTH; no answer cancels the send.
  std::function<std::optional<std::string>()> AskPassword;

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
  // connection is closed again after either. With security, EHLO names
  // this machine, TLS starts (a missing STARTTLS raises kNoStartTlsText)
  // and a login follows when offered (TLoginRefused when refused).
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
  // EHLO with this machine's name; keeps what the server offers.
  void Hello();
  bool Offers(const std::string& keyword) const;
  void Login();
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
  std::vector<std::string> reply_lines_;  // every line of the last reply
  std::vector<std::string> extensions_;   // upper-case EHLO lines, code cut
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
// Followed by the host name.
inline constexpr const char* kNoStartTlsText = "The mail server does not offer STARTTLS; nothing was sent: ";
// Followed by the host name.
inline constexpr const char* kNoLoginMethodText = "The mail server offers neither AUTH PLAIN nor AUTH LOGIN: ";
inline constexpr const char* kLoginCanceledText = "The send was canceled at the password";

// A login the server refused with 535 (the password is wrong): what() is
// kLoginRefusedText and its reply. Other refusals are plain TMailErrors
// with the same text.
class TLoginRefused : public TMailError {
 public:
  using TMailError::TMailError;
};
inline constexpr const char* kLoginRefusedText = "The mail server refused the login: ";

}  // namespace vistrel
