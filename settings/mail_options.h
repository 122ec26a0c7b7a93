// Section "Setup\E-Mail": the mail dialog's fields, read when the dialog is
// created and all written when it closes.
#pragma once

#include <string>

#include "settings/settings_store.h"

namespace vistrel {

inline constexpr const char* kMailSection = "Setup\\E-Mail";

struct MailOptions {
  std::string MailServer;  // "host" or "host:port", kept as typed
  std::string UserId;
  std::string LogonName;
  std::string FromMail;
  std::string Subject = "Vistrel-Pro Picture";
  std::string ToMail;
  std::string Body = "Picture attachment";  // lines joined by CR LF
  bool MimeEncode = true;
  bool HTML = false;
  int PictureType = 4;  // 0 GIF, 1 JPG, 2 TIF, 3 PCX, 4 PNG, 5 BMP

  static MailOptions Load(const SettingsStore& store);
  void Save(SettingsStore& store) const;
};

}  // namespace vistrel
