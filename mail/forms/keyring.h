// Mail passwords in the desktop's Secret Service (libsecret), under the
// server and the user ID. Every call waits for the service's answer while
// the event loop keeps running, at most a few seconds.
#pragma once

#include <optional>
#include <string>

namespace vistrel {

struct TKeyringLookup {
  bool available = false;  // a Secret Service answered
  std::optional<std::string> password;
};

TKeyringLookup LookupMailPassword(const std::string& host, const std::string& user);
// False when nothing could be stored.
bool StoreMailPassword(const std::string& host, const std::string& user, const std::string& password);
void ClearMailPassword(const std::string& host, const std::string& user);

}  // namespace vistrel
