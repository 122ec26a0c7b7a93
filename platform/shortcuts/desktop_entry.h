// Shortcuts to the program on the desktop, in the applications menu and in
// the autostart folder: where they go, and the desktop entry written there.
// Plain C++, so the rules can be tested without a display.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vistrel {

enum class TShortcutFolder { Desktop, StartMenu, Startup };

inline constexpr const char* kShortcutFileName = "Vistrel-Pro.desktop";

// What the folders are found from.
struct TXdgEnvironment {
  std::string home;         // $HOME
  std::string data_home;    // $XDG_DATA_HOME, empty when unset
  std::string config_home;  // $XDG_CONFIG_HOME, empty when unset
  // What `xdg-user-dir DESKTOP` printed; nullopt when it could not run.
  std::optional<std::string> desktop_dir;
};

// The folder's absolute path; empty when it cannot be found (a shortcut is
// then never written into the current folder). Relative XDG values are
// ignored, as the XDG base directory rules say.
std::string ShortcutFolderPath(TShortcutFolder folder, const TXdgEnvironment& env);

// The folder's name in messages: "Desktop", "Start Menu", "Startup".
std::string_view ShortcutFolderName(TShortcutFolder folder);

// One argument of an Exec line: quoted, with '"', '`', '$' and '\' escaped
// inside the quotes and '%' doubled, so that no character of a path is
// taken as a field code or by a shell.
std::string QuoteExecArgument(std::string_view argument);

// A value of type string in a desktop entry: backslash, line breaks and
// tabs escaped, a leading blank kept.
std::string EscapeEntryValue(std::string_view value);

// The whole entry: Type, Name, Exec = the program, Path = its folder, and
// Icon = the icon file when there is one.
std::string DesktopEntryText(std::string_view program_path, std::string_view program_folder,
                             std::string_view icon_path = {});

// The folder and any missing parents; false with the reason otherwise.
bool EnsureFolder(const std::string& folder, std::string& error);
// True when anything (a file, a link, a folder) has this path.
bool ShortcutExists(const std::string& path);
// Replaces the file at `path` as a whole (temporary file, rename); never
// leaves a half-written entry. False with the reason otherwise.
bool WriteDesktopEntry(const std::string& path, const std::string& text, std::string& error);
// Deletes the entry; false with the reason (a folder in its place is not
// removed).
bool RemoveShortcut(const std::string& path, std::string& error);

}  // namespace vistrel
