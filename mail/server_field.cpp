#include "mail/server_field.h"

#include "mail/message_text.h"
#include "mail/socket_errors.h"

namespace vistrel {

namespace {

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::uint16_t ParsePort(const std::string& text) {
  long value = 0;
  bool ok = !text.empty() && text.size() <= 5;
  for (char c : text) {
    if (c < '0' || c > '9') ok = false;
    else value = value * 10 + (c - '0');
  }
  if (!ok || value < 1 || value > 65535)
    throw TMailError("Invalid port in the mail server field: " + text);
  return std::uint16_t(value);
}

}  // namespace

TServerAddress ParseServerField(const std::string& field, std::uint16_t default_port) {
  const std::string text = Trimmed(OneLine(field));
  TServerAddress out;
  out.port = default_port;
  if (!text.empty() && text[0] == '[') {
    const auto close = text.find(']');
    if (close != std::string::npos) {
      out.host = text.substr(1, close - 1);
      if (close + 1 < text.size()) {
        if (text[close + 1] != ':') throw TMailError("Invalid port in the mail server field: " + text.substr(close + 1));
        out.port = ParsePort(text.substr(close + 2));
      }
      return out;
    }
  }
  const auto colon = text.find(':');
  if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos) {
    out.host = text;  // a name, or an IPv6 address without a port
    return out;
  }
  out.host = text.substr(0, colon);
  out.port = ParsePort(text.substr(colon + 1));
  return out;
}

}  // namespace vistrel
