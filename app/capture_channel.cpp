#include "app/capture_channel.h"

#include <array>
#include <cctype>
#include <utility>

namespace vistrel {

namespace {

constexpr char kRequestWord[] = "CAPTURE";

// Everything but letters, digits and a few marks is escaped, so no blank,
// line break or NUL of a file name can split a line or an argument.
std::string Encode(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_') {
      out += char(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out.empty() ? "%" : out;  // "%" alone: the empty text
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> Decode(const std::string& word) {
  if (word == "%") return std::string();
  std::string out;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '%') {
      out += word[i];
      continue;
    }
    if (i + 2 >= word.size()) return std::nullopt;
    const int high = HexValue(word[i + 1]), low = HexValue(word[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += char(high * 16 + low);
    i += 2;
  }
  return out;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  for (char c : line) {
    if (c == ' ' || c == '\n' || c == '\r') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

constexpr std::array<std::pair<TCaptureExit, const char*>, 4> kReplyWords{{
    {TCaptureExit::Done, "DONE"},
    {TCaptureExit::Cancelled, "CANCELLED"},
    {TCaptureExit::Usage, "USAGE"},
    {TCaptureExit::Failed, "FAILED"},
}};

}  // namespace

std::string CaptureRequestLine(const std::vector<std::string>& args) {
  std::string line = kRequestWord;
  for (const std::string& arg : args) line += " " + Encode(arg);
  return line + "\n";
}

std::optional<std::vector<std::string>> CaptureRequestArguments(const std::string& line) {
  std::vector<std::string> words = Words(line);
  if (words.empty() || words.front() != kRequestWord) return std::nullopt;
  std::vector<std::string> args;
  for (std::size_t i = 1; i < words.size(); ++i) {
    std::optional<std::string> arg = Decode(words[i]);
    if (!arg) return std::nullopt;
    args.push_back(std::move(*arg));
  }
  return args;
}

std::string CaptureReplyLine(const TCaptureReply& reply) {
  for (const auto& [status, word] : kReplyWords)
    if (status == reply.status) return std::string(word) + " " + Encode(reply.text) + "\n";
  return "FAILED %\n";
}

std::optional<TCaptureReply> ParseCaptureReply(const std::string& line) {
  const std::vector<std::string> words = Words(line);
  if (words.empty() || words.size() > 2) return std::nullopt;
  for (const auto& [status, word] : kReplyWords) {
    if (words[0] != word) continue;
    std::optional<std::string> text = words.size() == 2 ? Decode(words[1]) : std::string();
    if (!text) return std::nullopt;
    return TCaptureReply{status, std::move(*text)};
  }
  return std::nullopt;
}

TCaptureReply ReplyForOutcome(const TCaptureOutcome& outcome) {
  switch (outcome.status) {
    case TCaptureOutcome::TStatus::Done:
      return {TCaptureExit::Done, outcome.path};
    case TCaptureOutcome::TStatus::Cancelled:
      return {TCaptureExit::Cancelled,
              outcome.message.empty() ? "cancelled, nothing was selected" : outcome.message};
    case TCaptureOutcome::TStatus::Failed:
      break;
  }
  return {TCaptureExit::Failed, outcome.message};
}

}  // namespace vistrel
