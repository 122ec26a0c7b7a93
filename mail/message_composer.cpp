#include "mail/message_composer.h"

#include <cerrno>
#include <cstring>
#include <cstdio>

#include "mail/address_list.h"
#include "mail/message_text.h"
#include "mail/socket_errors.h"

namespace vistrel {

namespace {

bool BodyIsAscii(const TMailMessage& message) {
  for (const std::string& line : message.Body)
    if (!IsAscii(line)) return false;
  return true;
}

// Non-ASCII text goes out as UTF-8 in a 7-bit transfer encoding; plain
// ASCII keeps the configured charset and its bytes.
std::string TextCharset(const TMailMessage& message, const TComposeOptions& options) {
  return BodyIsAscii(message) ? options.charset : "utf-8";
}

const char* kQuotedPrintable = "Content-Transfer-Encoding: quoted-printable";

void AppendBodyLines(const TMailMessage& message, std::string& out) {
  const bool ascii = BodyIsAscii(message);
  for (const std::string& line : message.Body) {
    if (ascii) {
      out += line;
      out += "\r\n";
    } else {
      out += QuotedPrintableLine(line);
    }
  }
}

std::string ReadFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw TMailError("Cannot open file \"" + path + "\". " + std::strerror(errno));
  std::string data;
  char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) data.append(chunk, n);
  const bool failed = std::ferror(f);
  std::fclose(f);
  if (failed) throw TMailError("Cannot read file \"" + path + "\".");
  return data;
}

}  // namespace

std::string MakeBoundary(std::mt19937& random) {
  std::uniform_int_distribution<int> letter('a', 'y');
  std::string b = "====================54535";
  for (int i = 0; i < 6; ++i) b += char(letter(random));
  return b + "====";
}

std::string AttachmentName(const TMailAttachment& attachment) {
  if (!attachment.name.empty()) return attachment.name;
  const auto slash = attachment.path.find_last_of('/');
  return slash == std::string::npos ? attachment.path : attachment.path.substr(slash + 1);
}

std::vector<std::string> BuildHeader(const TMailMessage& message, const TComposeOptions& options) {
  std::vector<std::string> h;
  // An encoded word needs a blank before the "<"; a plain name keeps the
  // program's "Name<address>".
  std::string name = HeaderName(OneLine(message.FromName));
  if (!IsAscii(message.FromName)) name += ' ';
  h.push_back("From: " + name + "<" + OneLine(message.FromAddress) + ">");
  if (!message.ToAddress.empty()) h.push_back("To: " + HeaderAddressList(message.ToAddress, 4));
  if (!message.ToCarbonCopy.empty()) h.push_back("CC: " + HeaderAddressList(message.ToCarbonCopy, 4));
  if (!message.Subject.empty()) h.push_back("Subject: " + HeaderText(OneLine(message.Subject)));
  if (!message.LocalProgram.empty()) h.push_back("X-Mailer: " + OneLine(message.LocalProgram));
  if (!message.ReplyTo.empty()) h.push_back("Reply-To: " + OneLine(message.ReplyTo));
  if (!message.Date.empty()) h.push_back("Date: " + OneLine(message.Date));
  h.push_back("Mime-Version: 1.0");
  if (!message.Attachments.empty()) {
    h.push_back("Content-Type: multipart/mixed; boundary=\"" + options.boundary + "\"");
  } else {
    static constexpr const char* kTypes[] = {"text/plain", "text/enriched", "text/sgml",
                                             "text/tab-separated-values", "text/html"};
    h.push_back(std::string("Content-Type: ") + kTypes[options.sub_type] +
                "; charset=" + TextCharset(message, options));
    if (!BodyIsAscii(message)) h.push_back(kQuotedPrintable);
  }
  return h;
}

std::string HeaderBlock(const std::vector<std::string>& header) {
  std::string out;
  for (const std::string& line : header) out += line + "\r\n";
  return DotStuffed(out + "\r\n\r\n");
}

std::string BuildBody(const TMailMessage& message, const TComposeOptions& options) {
  std::string out;
  if (message.Attachments.empty()) {
    AppendBodyLines(message, out);
    return DotStuffed(std::move(out));
  }
  const std::string dash = "--" + options.boundary + "\r\n";
  // The text part is plain text whatever the sub-type says.
  out += dash + "Content-Type: text/plain; charset=" + TextCharset(message, options) + "\r\n";
  if (!BodyIsAscii(message)) out += std::string(kQuotedPrintable) + "\r\n";
  out += "\r\n";
  AppendBodyLines(message, out);

  TAttachmentEncoder encoder;
  encoder.Method = options.encoding;
  for (const TMailAttachment& attachment : message.Attachments) {
    const std::string data = ReadFile(attachment.path);
    const std::string name = AttachmentName(attachment);
    out.reserve(out.size() + EncodedSize(options.encoding, data.size()) + 512);
    out += dash;
    out += "Content-Type: application/octet-stream; name=\"" + name + "\"\r\n";
    // uuencoded lines need their own label and the begin and end lines
    // that every uudecoder looks for.
    if (options.encoding == uuMime) {
      out += "Content-Transfer-Encoding: base64\r\n";
    } else {
      out += "Content-Transfer-Encoding: x-uuencode\r\n";
    }
    out += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n\r\n";
    if (options.encoding == uuCode) out += "begin 644 " + name + "\r\n";
    encoder.Encode(data, out);
    if (options.encoding == uuCode) out += "end\r\n";
  }
  out += "--" + options.boundary + "--\r\n";
  // Every DATA line, attachment lines included (a 14-byte uuencoded line
  // starts with "."), is dot-stuffed.
  return DotStuffed(std::move(out));
}

}  // namespace vistrel
