#include "settings/settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vistrel {

namespace {

bool ReadWholeFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  out = ss.str();
  return true;
}

// Creates every missing folder of `dir`.
bool MakeFolders(const std::string& dir) {
  std::string partial;
  std::size_t pos = 0;
  while (pos != std::string::npos) {
    pos = dir.find('/', pos + 1);
    partial = dir.substr(0, pos);
    if (partial.empty()) continue;
    if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return true;
}

bool WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += std::size_t(n);
  }
  return true;
}

// Replaces `path` with `data`: a temporary file beside it, flushed, then
// renamed over it, so a crash or a full disk never leaves half a file.
bool ReplaceFileAtomically(const std::string& path, const std::string& data, std::string& error) {
  const std::string dir = path.substr(0, path.rfind('/'));
  if (!dir.empty() && !MakeFolders(dir)) {
    error = "cannot create folder " + dir + ": " + std::strerror(errno);
    return false;
  }
  std::string tmp = path + ".XXXXXX";
  int fd = mkstemp(tmp.data());
  if (fd < 0) {
    error = "cannot create " + tmp + ": " + std::strerror(errno);
    return false;
  }
  fchmod(fd, 0600);
  const bool ok = WriteAll(fd, data) && fsync(fd) == 0;
  const int saved = errno;
  close(fd);
  if (!ok || rename(tmp.c_str(), path.c_str()) != 0) {
    error = "cannot write " + path + ": " + std::strerror(ok ? errno : saved);
    unlink(tmp.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::string SettingsFilePath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
      const passwd* pw = getpwuid(getuid());
      home = pw ? pw->pw_dir : "/tmp";
    }
    base = std::string(home) + "/.config";
  }
  return base + "/Vistrel-Pro/settings.reg";
}

bool ParseStoredInteger(const std::string& text, std::int32_t& out) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  std::int64_t value = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = value * 10 + (text[i] - '0');
    if (value > std::int64_t(INT32_MAX) + 1) return false;
  }
  if (digits == 0 || text.find_first_not_of(" \t", i) != std::string::npos) return false;
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return false;
  out = std::int32_t(value);
  return true;
}

SettingsStore::SettingsStore() : SettingsStore(SettingsFilePath()) {}

SettingsStore::SettingsStore(std::string file_path) : path_(std::move(file_path)) {
  std::string content;
  if (!ReadWholeFile(path_, content)) return;  // missing or unreadable: defaults
  RegParseResult parsed = ParseRegFile(content);
  damaged_ = !parsed.Clean();
  file_ = std::move(parsed.file);
}

SettingsStore::~SettingsStore() { Close(); }

std::string SettingsStore::KeyPath(const std::string& section) {
  return section.empty() ? std::string(kRootKey) : std::string(kRootKey) + "\\" + section;
}

const RegValue* SettingsStore::Find(const std::string& section, const std::string& key) const {
  const RegKey* k = file_.FindKey(KeyPath(section));
  return k ? k->Find(key) : nullptr;
}

std::string SettingsStore::ReadString(const std::string& section, const std::string& key,
                                      const std::string& def) const {
  const RegValue* v = Find(section, key);
  if (!v) return def;
  switch (v->kind) {
    case RegValue::Kind::String: return v->text;
    case RegValue::Kind::Dword: return std::to_string(std::int32_t(v->dword));
    default: return def;
  }
}

std::int32_t SettingsStore::ReadInteger(const std::string& section, const std::string& key,
                                        std::int32_t def) const {
  const RegValue* v = Find(section, key);
  if (!v) return def;
  std::int32_t out = def;
  switch (v->kind) {
    case RegValue::Kind::Dword: return std::int32_t(v->dword);
    case RegValue::Kind::String: return ParseStoredInteger(v->text, out) ? out : def;
    case RegValue::Kind::Binary:
      if (v->bytes.size() != 4) return def;
      return std::int32_t(v->bytes[0] | (v->bytes[1] << 8) | (v->bytes[2] << 16) |
                          (std::uint32_t(v->bytes[3]) << 24));
    default: return def;
  }
}

bool SettingsStore::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double SettingsStore::ReadDateTime(const std::string& section, const std::string& key,
                                   double def) const {
  const RegValue* v = Find(section, key);
  if (!v || v->kind != RegValue::Kind::Binary || v->bytes.size() != 8) return def;
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | v->bytes[std::size_t(i)];
  double out;
  std::memcpy(&out, &bits, sizeof out);
  return out;
}

void SettingsStore::Write(const std::string& section, const std::string& key, RegValue v) {
  RegKey& k = file_.AddKey(KeyPath(section));
  if (const RegValue* old = k.Find(key); old && *old == v) return;
  k.Set(key, std::move(v));
  dirty_ = true;
}

void SettingsStore::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
  Write(section, key, RegValue::String(value));
}

void SettingsStore::WriteInteger(const std::string& section, const std::string& key,
                                 std::int32_t value) {
  const RegValue* old = Find(section, key);
  if (old && old->kind == RegValue::Kind::String)
    Write(section, key, RegValue::String(std::to_string(value)));
  else
    Write(section, key, RegValue::Dword(std::uint32_t(value)));
}

void SettingsStore::WriteBool(const std::string& section, const std::string& key, bool value) {
  Write(section, key, RegValue::String(value ? "1" : "0"));
}

void SettingsStore::WriteDateTime(const std::string& section, const std::string& key,
                                  double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  std::vector<std::uint8_t> bytes(8);
  for (std::size_t i = 0; i < 8; ++i) bytes[i] = std::uint8_t(bits >> (8 * i));
  Write(section, key, RegValue::Binary(std::move(bytes)));
}

bool SettingsStore::SectionExists(const std::string& section) const {
  const RegKey* k = file_.FindKey(KeyPath(section));
  return k && !k->values.empty();
}

void SettingsStore::EraseSection(const std::string& section) {
  const std::size_t before = file_.keys.size();
  file_.EraseTree(KeyPath(section));
  if (file_.keys.size() != before) dirty_ = true;
}

bool SettingsStore::Close() {
  if (closed_) return true;
  closed_ = true;
  if (!dirty_) return true;
  std::string error;
  if (damaged_) {
    // Keep what could not be understood for the user to look at.
    std::string content;
    if (ReadWholeFile(path_, content) &&
        !ReplaceFileAtomically(path_ + ".damaged", content, error))
      std::fprintf(stderr, "Vistrel-Pro: settings: %s\n", error.c_str());
  }
  if (!ReplaceFileAtomically(path_, FormatRegFile(file_), error)) {
    std::fprintf(stderr, "Vistrel-Pro: settings not saved: %s\n", error.c_str());
    return false;
  }
  return true;
}

}  // namespace vistrel
