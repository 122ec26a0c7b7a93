// Section "Setup\E-Mail": the mail dialog's fields, read when the dialog is
// created and all written when it closes.
#pragma once

#include <string>

#include "settings/settings_store.h"

namespace vistrel {

inline constexpr const char* kMailSection = "Setup\\E-Mail";

// The most the dialog's fields take, in UTF-16 units as its text fields
// count them. Longer stored values are cut when read.
inline constexpr int kMailServerLimit = 263;  // "[" + 255-character host + "]:65535"
inline constexpr int kUserIdLimit = 255;      // a host name
inline constexpr int kFromNameLimit = 256;
inline constexpr int kFromMailLimit = 254;    // the longest address a path holds
inline constexpr int kSubjectLimit = 900;     // a header line holds 998
inline constexpr int kToMailLimit = 4096;
inline constexpr int kBodyLimit = 16384;     // also keeps the body's layout quick

struct MailOptions {
  std::string MailServer;  // "host" or "host:port", kept as typed
  std::string UserId;
  std::string LogonName;
  std::string FromMail;
  std::string Subject = "Vistrel-Pro Picture";
  // Read with one character more than kToMailLimit, so a cut list shows
  // as over-long instead of silently losing recipients.
  std::string ToMail;
  std::string Body = "Picture attachment";  // lines joined by CR LF
  bool MimeEncode = true;
  bool HTML = false;
  int PictureType = 4;  // 0 GIF, 1 JPG, 2 TIF, 3 PCX, 4 PNG, 5 BMP
  int MailSecurity = 0;  // 0 none, 1 STARTTLS, 2 TLS

  static MailOptions Load(const SettingsStore& store);
  void Save(SettingsStore& store) const;
};

}  // namespace vistrel
