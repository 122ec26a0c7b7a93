// The settings file: a regedit export ("REGEDIT4") that holds the program's
// keys under HKEY_CURRENT_USER. Parsing and writing are pure functions so
// the format can be tested byte for byte.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vistrel {

// One stored value. Kinds the program writes are String, Dword and Binary;
// anything else regedit can produce (hex(2):, hex(b):, ...) is kept as Raw
// text so that it survives a rewrite unchanged.
struct RegValue {
  enum class Kind { String, Dword, Binary, Raw };
  Kind kind = Kind::String;
  std::string text;                 // String: the text; Raw: everything after '='
  std::uint32_t dword = 0;          // Dword
  std::vector<std::uint8_t> bytes;  // Binary

  static RegValue String(std::string s) { return {Kind::String, std::move(s), 0, {}}; }
  static RegValue Dword(std::uint32_t v) { return {Kind::Dword, {}, v, {}}; }
  static RegValue Binary(std::vector<std::uint8_t> b) {
    return {Kind::Binary, {}, 0, std::move(b)};
  }
  bool operator==(const RegValue&) const = default;
};

// A key: its values in the order they were first written.
struct RegKey {
  std::vector<std::pair<std::string, RegValue>> values;

  const RegValue* Find(const std::string& name) const;
  void Set(const std::string& name, RegValue v);
};

struct RegFile {
  // Full key paths ("HKEY_CURRENT_USER\Software\..."), compared without
  // regard to case as the registry does; the first spelling seen is kept.
  std::vector<std::pair<std::string, RegKey>> keys;

  RegKey* FindKey(const std::string& path);
  const RegKey* FindKey(const std::string& path) const;
  RegKey& AddKey(const std::string& path);
  // Removes `path` and every key below it.
  void EraseTree(const std::string& path);
};

struct RegParseResult {
  RegFile file;
  // Lines that could not be understood (1-based); what they held is lost,
  // everything else is still read.
  std::vector<int> bad_lines;
  bool bad_header = false;
  bool Clean() const { return bad_lines.empty() && !bad_header; }
};

// Reads the text of a settings file. Accepts UTF-8 (with or without a byte
// order mark), UTF-16LE with a mark (regedit's own export), CRLF or LF line
// ends and regedit's backslash line continuations.
RegParseResult ParseRegFile(const std::string& content);

// Writes the file in the form described at the top of reg_file.cpp.
std::string FormatRegFile(const RegFile& file);

// Case-insensitive comparison of key paths and value names (ASCII).
bool SameRegName(const std::string& a, const std::string& b);

}  // namespace vistrel
