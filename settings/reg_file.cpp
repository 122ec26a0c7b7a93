// File form:
//
//   REGEDIT4
//   <blank>
//   [HKEY_CURRENT_USER\Software\Vistrel-Pro\Final\Setup\OtherOptions]
//   "AutoFileName"="Picture"
//   "CustomW"=dword:00000064
//   "AutoIntTime"=hex:00,00,00,00,00,00,00,00
//   <blank>
//
// Strings escape a backslash, a quote, CR and LF as \\ \" \r \n.
#include "reg_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace vistrel {

namespace {

char Lower(char c) { return char(std::tolower(static_cast<unsigned char>(c))); }

std::string Utf16LeToUtf8(const std::string& in, std::size_t start) {
  std::string out;
  for (std::size_t i = start; i + 1 < in.size(); i += 2) {
    std::uint32_t cp = std::uint8_t(in[i]) | (std::uint32_t(std::uint8_t(in[i + 1])) << 8);
    if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < in.size()) {
      std::uint32_t lo = std::uint8_t(in[i + 2]) | (std::uint32_t(std::uint8_t(in[i + 3])) << 8);
      if (lo >= 0xDC00 && lo < 0xE000) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
        i += 2;
      }
    }
    if (cp < 0x80) {
      out += char(cp);
    } else if (cp < 0x800) {
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += char(0xE0 | (cp >> 12));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    } else {
      out += char(0xF0 | (cp >> 18));
      out += char(0x80 | ((cp >> 12) & 0x3F));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

// Splits into logical lines: CR/LF folded, a trailing backslash outside a
// quoted string joins the next line (regedit wraps long hex values so).
// Each logical line keeps the number of its first physical line.
std::vector<std::pair<int, std::string>> LogicalLines(const std::string& text) {
  std::vector<std::pair<int, std::string>> lines;
  std::string current;
  int number = 1, first = 1;
  bool continuing = false;
  std::size_t i = 0;
  while (i <= text.size()) {
    std::size_t end = text.find('\n', i);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(i, end - i);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (continuing) {
      std::size_t s = line.find_first_not_of(" \t");
      line = s == std::string::npos ? "" : line.substr(s);
    } else {
      first = number;
    }
    current += line;
    // A continuation backslash ends a hex list, never a quoted string.
    const bool joins = !current.empty() && current.back() == '\\' &&
                       current.find("=hex") != std::string::npos;
    if (joins) {
      current.pop_back();
      continuing = true;
    } else {
      lines.emplace_back(first, current);
      current.clear();
      continuing = false;
    }
    ++number;
    if (end == text.size()) break;
    i = end + 1;
  }
  if (continuing) lines.emplace_back(first, current);
  return lines;
}

// Reads a quoted string starting at s[pos] == '"'; returns false when it is
// not closed. `pos` ends just past the closing quote.
bool ReadQuoted(const std::string& s, std::size_t& pos, std::string& out) {
  out.clear();
  ++pos;
  while (pos < s.size()) {
    char c = s[pos++];
    if (c == '"') return true;
    if (c == '\\' && pos < s.size()) {
      char e = s[pos++];
      out += e == 'n' ? '\n' : e == 'r' ? '\r' : e;
    } else {
      out += c;
    }
  }
  return false;
}

bool ParseHexBytes(const std::string& s, std::vector<std::uint8_t>& out) {
  out.clear();
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    if (i == s.size()) break;
    std::size_t j = i;
    while (j < s.size() && std::isxdigit(static_cast<unsigned char>(s[j]))) ++j;
    if (j == i || j - i > 2) return false;
    out.push_back(std::uint8_t(std::stoul(s.substr(i, j - i), nullptr, 16)));
    while (j < s.size() && (s[j] == ' ' || s[j] == '\t')) ++j;
    if (j < s.size() && s[j] != ',') return false;
    i = j + 1;
  }
  return true;
}

// Parses the text after '=' of a value line.
bool ParseValue(const std::string& data, RegValue& v) {
  if (!data.empty() && data[0] == '"') {
    std::size_t pos = 0;
    std::string text;
    if (!ReadQuoted(data, pos, text)) return false;
    if (data.find_first_not_of(" \t", pos) != std::string::npos) return false;
    v = RegValue::String(std::move(text));
    return true;
  }
  std::string lower(data);
  std::transform(lower.begin(), lower.end(), lower.begin(), Lower);
  if (lower.rfind("dword:", 0) == 0) {
    std::string digits = data.substr(6);
    if (digits.empty() || digits.size() > 8 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
      return false;
    v = RegValue::Dword(std::uint32_t(std::stoul(digits, nullptr, 16)));
    return true;
  }
  if (lower.rfind("hex:", 0) == 0) {
    std::vector<std::uint8_t> bytes;
    if (!ParseHexBytes(data.substr(4), bytes)) return false;
    v = RegValue::Binary(std::move(bytes));
    return true;
  }
  if (lower.rfind("hex(", 0) == 0 && lower.find("):") != std::string::npos) {
    v = RegValue{RegValue::Kind::Raw, data, 0, {}};
    return true;
  }
  return false;
}

std::string Quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

bool IsBelow(const std::string& path, const std::string& root) {
  return path.size() > root.size() && path[root.size()] == '\\' &&
         SameRegName(path.substr(0, root.size()), root);
}

}  // namespace

bool SameRegName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

const RegValue* RegKey::Find(const std::string& name) const {
  for (const auto& [n, v] : values)
    if (SameRegName(n, name)) return &v;
  return nullptr;
}

void RegKey::Set(const std::string& name, RegValue v) {
  for (auto& [n, old] : values)
    if (SameRegName(n, name)) {
      old = std::move(v);
      return;
    }
  values.emplace_back(name, std::move(v));
}

RegKey* RegFile::FindKey(const std::string& path) {
  for (auto& [p, k] : keys)
    if (SameRegName(p, path)) return &k;
  return nullptr;
}

const RegKey* RegFile::FindKey(const std::string& path) const {
  return const_cast<RegFile*>(this)->FindKey(path);
}

RegKey& RegFile::AddKey(const std::string& path) {
  if (RegKey* k = FindKey(path)) return *k;
  keys.emplace_back(path, RegKey{});
  return keys.back().second;
}

void RegFile::EraseTree(const std::string& path) {
  std::erase_if(keys, [&](const auto& entry) {
    return SameRegName(entry.first, path) || IsBelow(entry.first, path);
  });
}

RegParseResult ParseRegFile(const std::string& content) {
  RegParseResult result;
  std::string text;
  if (content.size() >= 2 && std::uint8_t(content[0]) == 0xFF && std::uint8_t(content[1]) == 0xFE)
    text = Utf16LeToUtf8(content, 2);
  else if (content.rfind("\xEF\xBB\xBF", 0) == 0)
    text = content.substr(3);
  else
    text = content;

  RegKey* current = nullptr;
  bool header_seen = false;
  for (auto& [number, raw] : LogicalLines(text)) {
    std::size_t s = raw.find_first_not_of(" \t");
    if (s == std::string::npos) continue;
    std::string line = raw.substr(s);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    if (line[0] == ';') continue;
    if (!header_seen) {
      header_seen = true;
      if (line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00") continue;
      result.bad_header = true;  // read on: the rest may still be sound
    }
    if (line[0] == '[') {
      if (line.back() != ']' || line.size() < 3) {
        result.bad_lines.push_back(number);
        current = nullptr;
        continue;
      }
      std::string path = line.substr(1, line.size() - 2);
      if (path[0] == '-') {
        result.file.EraseTree(path.substr(1));
        current = nullptr;
      } else {
        current = &result.file.AddKey(path);
      }
      continue;
    }
    std::string name;
    std::size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] != '"' || !ReadQuoted(line, pos, name)) {
      result.bad_lines.push_back(number);
      continue;
    }
    std::size_t eq = line.find_first_not_of(" \t", pos);
    if (current == nullptr || eq == std::string::npos || line[eq] != '=') {
      result.bad_lines.push_back(number);
      continue;
    }
    std::string data = line.substr(line.find_first_not_of(" \t", eq + 1) == std::string::npos
                                       ? line.size()
                                       : line.find_first_not_of(" \t", eq + 1));
    if (data == "-") {
      std::erase_if(current->values, [&](const auto& v) { return SameRegName(v.first, name); });
      continue;
    }
    RegValue value;
    if (!ParseValue(data, value)) {
      result.bad_lines.push_back(number);
      continue;
    }
    current->Set(name, std::move(value));
  }
  return result;
}

std::string FormatRegFile(const RegFile& file) {
  std::string out = "REGEDIT4\n";
  char buf[16];
  for (const auto& [path, key] : file.keys) {
    out += "\n[" + path + "]\n";
    for (const auto& [name, v] : key.values) {
      out += name.empty() ? std::string("@") : Quote(name);
      out += '=';
      switch (v.kind) {
        case RegValue::Kind::String: out += Quote(v.text); break;
        case RegValue::Kind::Dword:
          std::snprintf(buf, sizeof buf, "dword:%08x", v.dword);
          out += buf;
          break;
        case RegValue::Kind::Binary:
          out += "hex:";
          for (std::size_t i = 0; i < v.bytes.size(); ++i) {
            std::snprintf(buf, sizeof buf, i ? ",%02x" : "%02x", v.bytes[i]);
            out += buf;
          }
          break;
        case RegValue::Kind::Raw: out += v.text; break;
      }
      out += '\n';
    }
  }
  return out;
}

}  // namespace vistrel
