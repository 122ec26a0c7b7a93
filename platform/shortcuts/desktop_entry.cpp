#include "platform/shortcuts/desktop_entry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vistrel {

namespace {

namespace fs = std::filesystem;

bool Absolute(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string Below(const std::string& base, const char* fallback, const std::string& home,
                  const char* leaf) {
  if (Absolute(base)) return base + "/" + leaf;
  if (Absolute(home)) return home + "/" + fallback + "/" + leaf;
  return {};
}

std::string Reason(int error_number) { return std::strerror(error_number); }

}  // namespace

std::string ShortcutFolderPath(TShortcutFolder folder, const TXdgEnvironment& env) {
  switch (folder) {
    case TShortcutFolder::Desktop: {
      const std::string dir = env.desktop_dir ? Trimmed(*env.desktop_dir) : std::string();
      if (Absolute(dir)) return dir;
      return Absolute(env.home) ? env.home + "/Desktop" : std::string();
    }
    case TShortcutFolder::StartMenu:
      return Below(env.data_home, ".local/share", env.home, "applications");
    case TShortcutFolder::Startup:
      return Below(env.config_home, ".config", env.home, "autostart");
  }
  return {};
}

std::string_view ShortcutFolderName(TShortcutFolder folder) {
  switch (folder) {
    case TShortcutFolder::Desktop: return "Desktop";
    case TShortcutFolder::StartMenu: return "Start Menu";
    case TShortcutFolder::Startup: return "Startup";
  }
  return {};
}

std::string QuoteExecArgument(std::string_view argument) {
  std::string out = "\"";
  for (char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    out += c;
    if (c == '%') out += '%';
  }
  return out + "\"";
}

std::string EscapeEntryValue(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (c == ' ' && i == 0) out += "\\s";
    else out += c;
  }
  return out;
}

std::string DesktopEntryText(std::string_view program_path, std::string_view program_folder,
                             std::string_view icon_path) {
  std::string text = "[Desktop Entry]\n"
                     "Type=Application\n"
                     "Name=Vistrel-Pro\n"
                     "Exec=" + EscapeEntryValue(QuoteExecArgument(program_path)) + "\n"
                     "Path=" + EscapeEntryValue(program_folder) + "\n";
  if (!icon_path.empty()) text += "Icon=" + EscapeEntryValue(icon_path) + "\n";
  return text;
}

bool EnsureFolder(const std::string& folder, std::string& error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!ec && fs::is_directory(folder, ec)) return true;
  error = ec ? ec.message() : Reason(ENOTDIR);
  return false;
}

bool ShortcutExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

bool WriteDesktopEntry(const std::string& path, const std::string& text, std::string& error) {
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    error = Reason(errno);
    return false;
  }
  std::size_t done = 0;
  int failure = 0;
  while (done < text.size() && !failure) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno != EINTR) failure = errno;
    if (n > 0) done += std::size_t(n);
  }
  // Launchers on a desktop refuse entries that are not executable.
  if (!failure && fchmod(fd, 0755) != 0) failure = errno;
  if (!failure && fsync(fd) != 0) failure = errno;
  if (::close(fd) != 0 && !failure) failure = errno;
  if (!failure && std::rename(temp.c_str(), path.c_str()) != 0) failure = errno;
  if (failure) {
    ::unlink(temp.c_str());
    error = Reason(failure);
    return false;
  }
  return true;
}

bool RemoveShortcut(const std::string& path, std::string& error) {
  if (::unlink(path.c_str()) == 0) return true;
  error = Reason(errno);
  return false;
}

}  // namespace vistrel
