#include "mail/TSmtpClient.h"

#include "mail/address_list.h"
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

TSmtpClient::TSmtpClient() : random_(std::random_device{}()) {}

void TSmtpClient::RaiseReply() const { throw TMailError(WithoutLineEnd(current_line_)); }

void TSmtpClient::SkipContinuation(std::string line) {
  // Multi-line replies ("250-...", then "250 ...") are read to their last
  // line, so the next command reads its own reply.
  while (IsContinuation(line)) {
    line = ReadLn();
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
    current_line_ = ReadLn();
    CheckReplyLine(current_line_, false);
    const int greeting = ReplyNumberOf(current_line_);
    SkipContinuation(current_line_);
    if (greeting >= 400) RaiseReply();
    Command("HELO " + OneLine(UserID));
    if (ReplyNumber() >= 300) throw TMailError("Authentication failed");
  } catch (...) {
    TSocketClient::Disconnect();
    throw;
  }
}

void TSmtpClient::SendMail() {
  if (busy_) return;
  BusyScope busy(busy_);
  delivered_ = false;
  boundary_ = MakeBoundary(random_);
  const TComposeOptions options{EncodeType, SubType, Charset, boundary_};
  FinalHeader = BuildHeader(MailMessage, options);
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
