#include "settings/mail_options.h"

namespace vistrel {

namespace {

// The first `units` UTF-16 units of UTF-8 text, never half a character.
std::string Cut(std::string text, int units) {
  std::size_t i = 0;
  for (int count = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t bytes = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    count += bytes == 4 ? 2 : 1;  // a surrogate pair
    if (count > units) break;
    i += bytes;
  }
  if (i < text.size()) text.resize(i);
  return text;
}

}  // namespace

MailOptions MailOptions::Load(const SettingsStore& store) {
  const MailOptions d;
  MailOptions o;
  o.MailServer = Cut(store.ReadString(kMailSection, "MailServer", d.MailServer), kMailServerLimit);
  o.UserId = Cut(store.ReadString(kMailSection, "UserId", d.UserId), kUserIdLimit);
  o.LogonName = Cut(store.ReadString(kMailSection, "LogonName", d.LogonName), kFromNameLimit);
  o.FromMail = Cut(store.ReadString(kMailSection, "FromMail", d.FromMail), kFromMailLimit);
  o.Subject = Cut(store.ReadString(kMailSection, "Subject", d.Subject), kSubjectLimit);
  o.ToMail = Cut(store.ReadString(kMailSection, "ToMail", d.ToMail), kToMailLimit + 1);
  o.Body = Cut(store.ReadString(kMailSection, "Body", d.Body), kBodyLimit);
  o.MimeEncode = store.ReadBool(kMailSection, "MimeEncode", d.MimeEncode);
  o.HTML = store.ReadBool(kMailSection, "HTML", d.HTML);
  o.PictureType = store.ReadInteger(kMailSection, "PictureType", d.PictureType);
  // A value edited by hand out of range would select no type at all.
  if (o.PictureType < 0 || o.PictureType > 5) o.PictureType = d.PictureType;
  o.MailSecurity = store.ReadInteger(kMailSection, "MailSecurity", d.MailSecurity);
  if (o.MailSecurity < 0 || o.MailSecurity > 2) o.MailSecurity = d.MailSecurity;
  return o;
}

void MailOptions::Save(SettingsStore& store) const {
  store.WriteString(kMailSection, "MailServer", MailServer);
  store.WriteString(kMailSection, "UserId", UserId);
  store.WriteString(kMailSection, "LogonName", LogonName);
  store.WriteString(kMailSection, "FromMail", FromMail);
  store.WriteString(kMailSection, "Subject", Subject);
  store.WriteString(kMailSection, "ToMail", ToMail);
  store.WriteString(kMailSection, "Body", Body);
  store.WriteBool(kMailSection, "MimeEncode", MimeEncode);
  store.WriteBool(kMailSection, "HTML", HTML);
  store.WriteInteger(kMailSection, "PictureType", PictureType);
  store.WriteInteger(kMailSection, "MailSecurity", MailSecurity);
}

}  // namespace vistrel
