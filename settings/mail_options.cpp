#include "settings/mail_options.h"

namespace vistrel {

MailOptions MailOptions::Load(const SettingsStore& store) {
  const MailOptions d;
  MailOptions o;
  o.MailServer = store.ReadString(kMailSection, "MailServer", d.MailServer);
  o.UserId = store.ReadString(kMailSection, "UserId", d.UserId);
  o.LogonName = store.ReadString(kMailSection, "LogonName", d.LogonName);
  o.FromMail = store.ReadString(kMailSection, "FromMail", d.FromMail);
  o.Subject = store.ReadString(kMailSection, "Subject", d.Subject);
  o.ToMail = store.ReadString(kMailSection, "ToMail", d.ToMail);
  o.Body = store.ReadString(kMailSection, "Body", d.Body);
  o.MimeEncode = store.ReadBool(kMailSection, "MimeEncode", d.MimeEncode);
  o.HTML = store.ReadBool(kMailSection, "HTML", d.HTML);
  o.PictureType = store.ReadInteger(kMailSection, "PictureType", d.PictureType);
  // A value edited by hand out of range would select no type at all.
  if (o.PictureType < 0 || o.PictureType > 5) o.PictureType = d.PictureType;
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
}

}  // namespace vistrel
