// The mail dialog's captions, hints and messages, spelled as the program
// shows them.
#pragma once

namespace vistrel::mail_texts {

inline constexpr const char* kCaption = "Send Picture as E-Mail Attachment";
inline constexpr const char* kServer = "Mail Server ( SMTP )";
inline constexpr const char* kUserId = "User ID ( Logon )";
inline constexpr const char* kFromName = "From ( Name )";
inline constexpr const char* kFromMail = "From ( E-Mail )";
inline constexpr const char* kSubject = "Subject ( Text )";
inline constexpr const char* kBody = "Body ( Text )";
inline constexpr const char* kTo = "To : ( E-Mail Destination )";
inline constexpr const char* kAttachAs = "Attach Picture as";
inline constexpr const char* kTypes[6] = {"GIF", "JPG", "TIF", "PCX", "PNG", "BMP"};
inline constexpr const char* kUuEncode = "uuEncode";
inline constexpr const char* kUuMime = "uuMime";
inline constexpr const char* kHtml = "HTML";
inline constexpr const char* kSmtpSend = "SMTP send";
inline constexpr const char* kSmtpSendHint = "Send Picture with SMTP Protocol";
inline constexpr const char* kMapiSend = "MAPI send";
inline constexpr const char* kMapiSendHint = "Send Picture with MAPI Protocol";
inline constexpr const char* kClose = "&Close";
inline constexpr const char* kAbort = "Abort";
inline constexpr const char* kNotConnected = "You need to connect before you can send your message";
inline constexpr const char* kToTooLong =
    "The To field is longer than %1 characters and may have been cut; nothing was sent";
inline constexpr const char* kSecurity = "Security";
inline constexpr const char* kSecurityChoices[3] = {"None", "STARTTLS", "TLS"};
// The port used when the server field names none.
inline constexpr const char* kPortHint = "Port %1 unless the field names one";
// A port written for an encryption while "None" is chosen.
inline constexpr const char* kPortWantsHint = "Port %1 calls for %2: choose it";
inline constexpr const char* kPasswordCaption = "SMTP Password";
inline constexpr const char* kPasswordPrompt = "Password of %1 at %2:";
inline constexpr const char* kRemember = "Remember in the keyring";
// Shown instead of kRemember when the desktop has no keyring.
inline constexpr const char* kPasswordSession =
    "Kept only until Vistrel-Pro ends; never written to a file.";
// " Mapi Send Mail Error # " + number + " "
inline constexpr const char* kMapiError = " Mapi Send Mail Error # ";

}  // namespace vistrel::mail_texts
