#include "mail/TSmtpClient.h"

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
    if (line.empty()) throw TMailError(kNoReplyText);
  }
}

void TSmtpClient::Command(const std::string& command) {
  current_line_ = Transaction(command);
  if (current_line_.empty()) throw TMailError(kNoReplyText);
  SkipContinuation(current_line_);
}

void TSmtpClient::Connect() {
  BusyScope busy(busy_);
  TSocketClient::Connect();
  try {
    current_line_ = ReadLn();
    if (current_line_.empty()) throw TMailError(kNoReplyText);
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
  boundary_ = MakeBoundary(random_);
  const TComposeOptions options{EncodeType, SubType, Charset, boundary_};
  FinalHeader = BuildHeader(MailMessage, options);
  const std::string body = BuildBody(MailMessage, options);

  CheckConnection();
  const TMailMessage& m = MailMessage;
  if (m.FromAddress.empty() || (m.ToAddress.empty() && m.ToCarbonCopy.empty() && m.ToBlindCarbonCopy.empty()))
    throw TMailError("Incomplete Header");

  Command("RSET");
  if (ReplyNumber() >= 400) RaiseReply();
  Command("MAIL FROM:<" + OneLine(m.FromAddress) + ">");
  if (ReplyNumber() >= 400) RaiseReply();

  // A refused recipient does not stop the send, but a message nobody
  // accepted is never sent: the last refusal is the error.
  int accepted = 0;
  std::string refusal;
  for (const auto* list : {&m.ToAddress, &m.ToCarbonCopy, &m.ToBlindCarbonCopy}) {
    for (const std::string& line : *list) {
      const std::string address = OneLine(ExtractAddress(line));
      if (address.empty()) continue;
      Command("RCPT TO:<" + address + ">");
      if (ReplyNumber() >= 400)
        refusal = current_line_;
      else
        ++accepted;
    }
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

  if (ClearParams) {
    MailMessage.ToAddress.clear();
    MailMessage.ToCarbonCopy.clear();
    MailMessage.ToBlindCarbonCopy.clear();
    MailMessage.Attachments.clear();
  }
}

void TSmtpClient::Disconnect() {
  if (!Connected()) return;
  // One Abort ends a send: a server that hangs is not asked again.
  if (AbortRequested()) {
    TSocketClient::Disconnect();
    return;
  }
  ClearCancel();
  try {
    current_line_ = Transaction("QUIT");
  } catch (const TSocketError&) {
    // The connection is gone already: nothing left to end.
    current_line_.clear();
  } catch (...) {
    TSocketClient::Disconnect();
    throw;
  }
  TSocketClient::Disconnect();
  if (ReplyNumber() > 339) RaiseReply();
}

}  // namespace vistrel
