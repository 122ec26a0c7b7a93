#include "mail/TSmtpClient.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>

#include "mail/address_list.h"
#include "mail/attachment_encoder.h"
#include "mail/message_text.h"
#include "mail/socket_errors.h"

namespace vistrel {

namespace {

std::string WithoutLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

bool IsContinuation(const std::string& line) {
  return !line.empty() && (line[0] == ' ' || (line.size() > 3 && line[3] == '-'));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Every reply line starts with its three-digit code; a continuation line
// may start with a blank instead.
void CheckReplyLine(const std::string& line, bool continuation) {
  if (line.empty()) throw TMailError(kNoReplyText);
  if (continuation && line[0] == ' ') return;
  if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2]))
    throw TMailError(kInvalidReplyText + Printable(WithoutLineEnd(line)));
}

std::string Base64(std::string_view text) {
  std::string lines;
  TAttachmentEncoder{uuMime}.Encode(text, lines);
  lines.erase(std::remove_if(lines.begin(), lines.end(), [](char c) { return c == '\r' || c == '\n'; }),
              lines.end());
  return lines;
}

std::string MachineName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0 || !name[0]) return "localhost";
  return OneLine(name);
}

// "Wed, 09 Dec 2026 23:55:07 +0000" in English whatever the locale.
std::string MailDate(std::time_t now) {
  static const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm t{};
  localtime_r(&now, &t);
  const long offset = t.tm_gmtoff / 60;
  const long abs_offset = offset < 0 ? -offset : offset;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", days[t.tm_wday],
                t.tm_mday, months[t.tm_mon], t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec,
                offset < 0 ? '-' : '+', abs_offset / 60, abs_offset % 60);
  return text;
}

// Clears the busy flag when it was set by this call.
class BusyScope {
 public:
  explicit BusyScope(bool& busy) : busy_(busy), owner_(!busy) { busy_ = true; }
  ~BusyScope() {
    if (owner_) busy_ = false;
  }

 private:
  bool& busy_;
  bool owner_;
};

}  // namespace

std::uint16_t DefaultPort(TMailSecurity security) {
  switch (security) {
    case TMailSecurity::StartTls: return 587;
    case TMailSecurity::Tls: return 465;
    default: return 25;
  }
}

TSmtpClient::TSmtpClient() : random_(std::random_device{}()) {}

void TSmtpClient::RaiseReply() const { throw TMailError(WithoutLineEnd(current_line_)); }

void TSmtpClient::SkipContinuation(std::string line) {
  // Multi-line replies ("250-...", then "250 ...") are read to their last
  // line, so the next command reads its own reply.
  reply_lines_ = {line};
  while (IsContinuation(line)) {
    line = ReadLn();
    reply_lines_.push_back(line);
    CheckReplyLine(line, true);
  }
}

void TSmtpClient::Command(const std::string& command) {
  current_line_ = Transaction(command);
  CheckReplyLine(current_line_, false);
  SkipContinuation(current_line_);
}

void TSmtpClient::Connect() {
  BusyScope busy(busy_);
  delivered_ = false;
  TSocketClient::Connect();
  try {
    if (Security == TMailSecurity::Tls) StartTls();
    current_line_ = ReadLn();
    CheckReplyLine(current_line_, false);
    const int greeting = ReplyNumberOf(current_line_);
    SkipContinuation(current_line_);
    if (greeting >= 400) RaiseReply();
    if (Security == TMailSecurity::None) {
      Command("HELO " + OneLine(UserID));
      if (ReplyNumber() >= 300) throw TMailError("Authentication failed");
      return;
    }
    Hello();
    if (Security == TMailSecurity::StartTls) {
      if (!Offers("STARTTLS")) throw TMailError(kNoStartTlsText + Host);
      Command("STARTTLS");
      if (ReplyNumber() != 220) RaiseReply();
      StartTls();
      // What was offered in plain text counts no more.
      Hello();
    }
    if (Encrypted() && Offers("AUTH")) Login();
  } catch (...) {
    TSocketClient::Disconnect();
    throw;
  }
}

void TSmtpClient::Hello() {
  extensions_.clear();
  Command("EHLO " + MachineName());
  if (ReplyNumber() >= 300) RaiseReply();
  for (std::size_t i = 1; i < reply_lines_.size(); ++i) {
    std::string line = WithoutLineEnd(reply_lines_[i].size() > 4 ? reply_lines_[i].substr(4) : "");
    for (char& c : line) c = char(std::toupper(static_cast<unsigned char>(c)));
    extensions_.push_back(line);
  }
}

bool TSmtpClient::Offers(const std::string& keyword) const {
  for (const std::string& line : extensions_)
    if (line == keyword || line.rfind(keyword + " ", 0) == 0) return true;
  return false;
}

void TSmtpClient::Login() {
  bool plain = false, login = false;
  for (const std::string& line : extensions_) {
    if (line.rfind("AUTH ", 0) != 0) continue;
    plain = plain || (line + " ").find(" PLAIN ") != std::string::npos;
    login = login || (line + " ").find(" LOGIN ") != std::string::npos;
  }
  // Nobody is asked for a password that cannot be used.
  if (!plain && !login) throw TMailError(kNoLoginMethodText + Host);
  const std::optional<std::string> password = AskPassword ? AskPassword() : std::nullopt;
  if (!password) throw TSocketAbort(kLoginCanceledText);
  if (plain) {
    Command("AUTH PLAIN " + Base64(std::string(1, '\0') + UserID + '\0' + *password));
  } else {
    Command("AUTH LOGIN");
    if (ReplyNumber() == 334) Command(Base64(UserID));
    if (ReplyNumber() == 334) Command(Base64(*password));
  }
  if (ReplyNumber() == 235) return;
  const std::string text = kLoginRefusedText + WithoutLineEnd(current_line_);
  // Only 535 says the password is wrong; a passing fault keeps it.
  if (ReplyNumber() == 535) throw TLoginRefused(text);
  throw TMailError(text);
}

void TSmtpClient::SendMail() {
  if (busy_) return;
  BusyScope busy(busy_);
  delivered_ = false;
  boundary_ = MakeBoundary(random_);
  const TComposeOptions options{EncodeType, SubType, Charset, boundary_};
  if (Encrypted()) {
    // Submission servers expect both; the plain conversation stays as it was.
    TMailMessage dated = MailMessage;
    if (dated.Date.empty()) dated.Date = MailDate(std::time(nullptr));
    FinalHeader = BuildHeader(dated, options);
    FinalHeader.push_back("Message-ID: <" + std::to_string(std::time(nullptr)) + "." +
                          std::to_string(random_()) + std::to_string(random_()) + "@" +
                          MachineName() + ">");
  } else {
    FinalHeader = BuildHeader(MailMessage, options);
  }
  const std::string body = BuildBody(MailMessage, options);

  CheckConnection();
  const TMailMessage& m = MailMessage;
  if (m.FromAddress.empty() || (m.ToAddress.empty() && m.ToCarbonCopy.empty() && m.ToBlindCarbonCopy.empty()))
    throw TMailError("Incomplete Header");
  // Nothing goes out before every address has been checked.
  CheckAddress(m.FromAddress);
  const std::vector<std::string> recipients = RecipientAddresses(m);

  Command("RSET");
  if (ReplyNumber() >= 400) RaiseReply();
  Command("MAIL FROM:<" + m.FromAddress + ">");
  if (ReplyNumber() >= 400) RaiseReply();

  // A refused recipient does not stop the send, but a message nobody
  // accepted is never sent: the last refusal is the error.
  int accepted = 0;
  std::string refusal;
  for (const std::string& address : recipients) {
    Command("RCPT TO:<" + address + ">");
    if (ReplyNumber() >= 400)
      refusal = current_line_;
    else
      ++accepted;
  }
  if (accepted == 0) {
    if (refusal.empty()) throw TMailError("Incomplete Header");
    throw TMailError(WithoutLineEnd(refusal));
  }

  Command("DATA");
  if (ReplyNumber() >= 400) RaiseReply();
  SendStream(HeaderBlock(FinalHeader));
  SendStream(body);
  Command(".");
  if (ReplyNumber() >= 400) RaiseReply();
  delivered_ = true;

  if (ClearParams) {
    MailMessage.ToAddress.clear();
    MailMessage.ToCarbonCopy.clear();
    MailMessage.ToBlindCarbonCopy.clear();
    MailMessage.Attachments.clear();
  }
}

void TSmtpClient::Disconnect() {
  const bool delivered = delivered_;
  delivered_ = false;
  if (!Connected()) return;
  // One Abort ends a send: a server that hangs is not asked again.
  if (AbortRequested()) {
    TSocketClient::Disconnect();
    return;
  }
  try {
    Quit();
  } catch (const TMailError& e) {
    if (delivered) throw TMailError(kDeliveredText + std::string(e.what()));
    throw;
  }
}

void TSmtpClient::Quit() {
  ClearCancel();
  // Nothing waits on the goodbye: a server that never answers it is left.
  const int time_out = TimeOut;
  if (TimeOut == 0 || TimeOut > QuitTimeOut) TimeOut = QuitTimeOut;
  std::string failure;
  try {
    current_line_ = Transaction("QUIT");
    if (!current_line_.empty()) {
      CheckReplyLine(current_line_, false);
      if (ReplyNumber() > 339) failure = WithoutLineEnd(current_line_);
    }
  } catch (const TSocketAbort& e) {
    failure = AbortRequested() ? e.what() : kNoQuitReplyText;
  } catch (const TSocketError&) {
    // The connection is gone already: nothing left to end.
  } catch (const TMailError& e) {
    failure = e.what();
  }
  TimeOut = time_out;
  TSocketClient::Disconnect();
  if (!failure.empty()) throw TMailError(failure);
}

}  // namespace vistrel
