// The per-user settings store: sections below the root
// "Software\Vistrel-Pro\Final" of HKEY_CURRENT_USER, kept in one regedit
// file ($XDG_CONFIG_HOME/Vistrel-Pro/settings.reg).
//
// Every use opens the store, reads or writes, and closes it; nothing keeps
// it open. Closing writes the file back only when something changed, by
// replacing it atomically. A file that cannot be parsed still yields every
// value that can be read, and is copied aside (settings.reg.damaged) before
// the first rewrite. Failed writes are reported on stderr and never thrown:
// the program's in-memory copies stay authoritative either way.
#pragma once

#include <cstdint>
#include <string>

#include "settings/reg_file.h"

namespace vistrel {

class SettingsStore {
 public:
  static constexpr const char* kRootKey = "HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final";

  // Opens the store in its usual place (see SettingsFilePath).
  SettingsStore();
  // Opens the store kept in `file_path` (tests use their own files).
  explicit SettingsStore(std::string file_path);
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // Section names are paths below the root, e.g. "Setup\\OtherOptions".
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  std::int32_t ReadInteger(const std::string& section, const std::string& key,
                           std::int32_t def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  double ReadDateTime(const std::string& section, const std::string& key, double def) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // Written as a DWORD, or as decimal text when the key already holds text.
  void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  void WriteDateTime(const std::string& section, const std::string& key, double value);

  // True when the section holds at least one value.
  bool SectionExists(const std::string& section) const;
  // Removes the section and every section below it.
  void EraseSection(const std::string& section);

  // Writes pending changes; returns false when the file could not be written.
  bool Close();

 private:
  const RegValue* Find(const std::string& section, const std::string& key) const;
  void Write(const std::string& section, const std::string& key, RegValue v);
  static std::string KeyPath(const std::string& section);

  std::string path_;
  RegFile file_;
  bool damaged_ = false;
  bool dirty_ = false;
  bool closed_ = false;
};

// $XDG_CONFIG_HOME/Vistrel-Pro/settings.reg, ~/.config/... when unset.
std::string SettingsFilePath();

// Decimal integer as the store reads it from text: optional blanks and sign,
// digits, optional blanks; false for anything else or a value out of range.
bool ParseStoredInteger(const std::string& text, std::int32_t& out);

}  // namespace vistrel
