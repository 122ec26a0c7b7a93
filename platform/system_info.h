// What the print footer says about the machine: the user, the operating
// system with its version and build, and the temporary folder.
//
// On Linux the name is /etc/os-release's PRETTY_NAME (falling back to the
// kernel's sysname), and major, minor and build are the first three numbers
// of the kernel release ("6.1.0-18-amd64" gives 6, 1, 0).
#pragma once

#include <string>

namespace vistrel {

struct TKernelVersion {
  std::string major = "0", minor = "0", build = "0";
};

// The first three numbers of a kernel release text; missing ones are "0".
TKernelVersion ParseKernelRelease(const std::string& release);

// PRETTY_NAME from the text of an os-release file, unquoted; empty if none.
std::string PrettyNameFromOsRelease(const std::string& content);

// $TMPDIR or /tmp, with a trailing "/".
std::string TemporaryFolder();

// The folder XDG_PICTURES_DIR names in the text of a user-dirs.dirs file
// ("$HOME/..." or an absolute path), with `home` put in; empty if none.
std::string PicturesDirFromUserDirs(const std::string& content, const std::string& home);

// The user's Pictures folder, where pictures go unless the user chose a
// folder: XDG_PICTURES_DIR from $XDG_CONFIG_HOME/user-dirs.dirs, else
// ~/Pictures, created (mode 0700) when missing; with a trailing "/". The
// temporary folder only when it cannot be made. (/tmp is no place for
// pictures by default: other users can list it, and it is emptied at boot.)
std::string PicturesFolder();

class TSystemInfo {
 public:
  // Works out the name and version once.
  TSystemInfo();

  const std::string& PlatformID() const { return platform_id_; }
  const std::string& MajorVersion() const { return version_.major; }
  const std::string& MinorVersion() const { return version_.minor; }
  const std::string& BuildNumber() const { return version_.build; }
  // Asked anew on every read: the logon name, "Unknown" when unavailable.
  std::string NetworkUserName() const;
  // Asked anew on every read: $TMPDIR or /tmp, with a trailing "/".
  std::string TempDirectory() const { return TemporaryFolder(); }

 private:
  std::string platform_id_;
  TKernelVersion version_;
};

}  // namespace vistrel
