#include "mail/address_list.h"

#include <cstring>

#include "mail/message_text.h"
#include "mail/socket_errors.h"

namespace vistrel {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7f; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

[[noreturn]] void RaiseBad(std::string_view text) {
  throw TMailError(kBadAddressText + ("\"" + Printable(text) + "\""));
}

bool IsAtext(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         (c != 0 && std::strchr("!#$%&'*+-/=?^_`{|}~", c) != nullptr);
}

std::string Unquoted(std::string_view name) {
  if (name.size() < 2 || name.front() != '"' || name.back() != '"') return std::string(name);
  std::string out;
  for (std::size_t i = 1; i + 1 < name.size(); ++i) {
    if (name[i] == '\\' && i + 2 < name.size()) ++i;
    out += name[i];
  }
  return out;
}

// Where `c` first occurs outside a quoted string, or npos.
std::size_t FindOutsideQuotes(std::string_view text, char c) {
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (quoted && text[i] == '\\') ++i;
    else if (text[i] == '"') quoted = !quoted;
    else if (!quoted && text[i] == c) return i;
  }
  return std::string_view::npos;
}

}  // namespace

void CheckAddress(std::string_view address) {
  const std::size_t at = address.find('@');
  if (at == 0 || at == address.npos || at + 1 == address.size() ||
      address.find('@', at + 1) != address.npos)
    RaiseBad(address);
  for (char c : address)
    if (IsBlank(c) || IsControl(static_cast<unsigned char>(c)) || c == '<' || c == '>' || c == ',')
      RaiseBad(address);
}

TMailbox ParseMailbox(std::string_view entry) {
  entry = Trimmed(entry);
  TMailbox box;
  const std::size_t lt = FindOutsideQuotes(entry, '<');
  if (lt == entry.npos) {
    box.address = Trimmed(ExtractAddress(entry));
  } else {
    const std::size_t gt = entry.find('>', lt + 1);
    if (gt == entry.npos || !Trimmed(entry.substr(gt + 1)).empty()) RaiseBad(entry);
    box.name = Unquoted(Trimmed(entry.substr(0, lt)));
    box.address = entry.substr(lt + 1, gt - lt - 1);
  }
  CheckAddress(box.address);
  return box;
}

std::vector<TMailbox> ParseAddressList(std::string_view field) {
  std::vector<TMailbox> out;
  std::size_t start = 0;
  const auto take = [&](std::size_t end) {
    const std::string_view entry = Trimmed(field.substr(start, end - start));
    if (!entry.empty()) out.push_back(ParseMailbox(entry));
    start = end + 1;
  };
  bool quoted = false, angle = false;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (quoted) {
      if (c == '\\') ++i;
      else if (c == '"') quoted = false;
    } else if (c == '"') {
      quoted = true;
    } else if (c == '<') {
      angle = true;
    } else if (c == '>') {
      angle = false;
    } else if ((c == ',' || c == ';') && !angle) {
      take(i);
    }
  }
  take(field.size());
  return out;
}

std::vector<std::string> RecipientAddresses(const TMailMessage& message) {
  std::vector<std::string> out;
  for (const auto* list : {&message.ToAddress, &message.ToCarbonCopy, &message.ToBlindCarbonCopy})
    for (const std::string& line : *list)
      for (TMailbox& box : ParseAddressList(OneLine(line))) out.push_back(std::move(box.address));
  return out;
}

std::string HeaderName(std::string_view name) {
  if (!IsAscii(name)) return HeaderText(name);
  bool atoms = true;
  for (char c : name) atoms = atoms && (IsAtext(c) || c == ' ');
  if (atoms) return std::string(name);
  std::string out = "\"";
  for (char c : name) {
    if (c == '"' || c == '\\') out += '\\';
    out += IsControl(static_cast<unsigned char>(c)) ? ' ' : c;
  }
  return out + '"';
}

std::string HeaderAddressList(const std::vector<std::string>& lines, std::size_t label_length) {
  constexpr std::size_t kFoldAt = 78;
  std::string out;
  std::size_t column = label_length;
  for (const std::string& line : lines) {
    for (const TMailbox& box : ParseAddressList(OneLine(line))) {
      const std::string item =
          box.name.empty() ? box.address : HeaderName(box.name) + " <" + box.address + ">";
      if (!out.empty()) {
        out += ',';
        ++column;
        if (column + item.size() > kFoldAt) {
          out += "\r\n ";
          column = 1;
        }
      }
      out += item;
      column += item.size();
    }
  }
  return out;
}

}  // namespace vistrel
