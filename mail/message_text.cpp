#include "mail/message_text.h"

#include "mail/attachment_encoder.h"

namespace vistrel {

std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string ExtractAddress(std::string_view line) {
  if (const auto lt = line.find('<'); lt != line.npos) {
    const auto gt = line.find('>', lt + 1);
    return std::string(line.substr(lt + 1, gt == line.npos ? line.npos : gt - lt - 1));
  }
  if (const auto colon = line.find(':'); colon != line.npos) {
    const auto next = line.find(':', colon + 1);
    return std::string(line.substr(colon + 1, next == line.npos ? line.npos : next - colon - 1));
  }
  return std::string(line);
}

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

std::string Printable(std::string_view text) {
  constexpr std::size_t kMost = 100;
  std::string out;
  for (std::size_t i = 0; i < text.size() && i < kMost; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    out += c < 0x20 || c == 0x7f ? '?' : char(c);
  }
  if (text.size() > kMost) out += "...";
  return out;
}

std::string HeaderText(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  // 45 bytes make 60 base64 characters; with "=?utf-8?B?" and "?=" a word
  // stays within the 75 characters allowed.
  constexpr std::size_t kWordBytes = 45;
  std::string out;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = start + kWordBytes < utf8.size() ? start + kWordBytes : utf8.size();
    // Never split a character: back up over continuation bytes.
    while (end < utf8.size() && end > start + 1 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
      --end;
    std::string encoded;
    TAttachmentEncoder{}.Encode(utf8.substr(start, end - start), encoded);
    encoded.resize(encoded.size() - 2);  // the line's CR LF
    if (!out.empty()) out += ' ';
    out += "=?utf-8?B?" + encoded + "?=";
    start = end;
  }
  return out;
}

std::string QuotedPrintableLine(std::string_view line) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  std::size_t column = 0;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    const bool last = i + 1 == line.size();
    const bool literal = (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last);
    const std::size_t width = literal ? 1 : 3;
    // Room for this character and a soft break "=" after it.
    if (column + width > 75) {
      out += "=\r\n";
      column = 0;
    }
    if (literal) {
      out += char(c);
    } else {
      out += '=';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
    column += width;
  }
  out += "\r\n";
  return out;
}

std::string DotStuffed(std::string text) {
  std::size_t count = (!text.empty() && text[0] == '.') ? 1 : 0;
  for (std::size_t p = text.find("\n."); p != text.npos; p = text.find("\n.", p + 2)) ++count;
  if (count == 0) return text;
  std::string out;
  out.reserve(text.size() + count);
  bool line_start = true;
  for (char c : text) {
    if (line_start && c == '.') out += '.';
    out += c;
    line_start = c == '\n';
  }
  return out;
}

}  // namespace vistrel
