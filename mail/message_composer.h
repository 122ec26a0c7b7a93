// The bytes of a message: the header lines and the body stream with the
// text part and the encoded attachments.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "mail/TMailMessage.h"
#include "mail/attachment_encoder.h"

namespace vistrel {

enum TSubType { mtPlain, mtEnriched, mtSgml, mtTabSeperated, mtHtml };

struct TComposeOptions {
  TEncodeMethod encoding = uuMime;
  TSubType sub_type = mtPlain;
  std::string charset = "us-ascii";
  std::string boundary;
};

// "====================54535", six random letters a..y, "====".
std::string MakeBoundary(std::mt19937& random);

// The header lines, without line ends (a long recipient list is folded
// inside its line), in the order the message carries them; blind-copy
// recipients never appear. Raises TMailError for a malformed recipient.
std::vector<std::string> BuildHeader(const TMailMessage& message, const TComposeOptions& options);

// The header as sent after DATA: each line with CR LF, then CR LF CR LF.
std::string HeaderBlock(const std::vector<std::string>& header);

// The body stream. Reads every attachment file; a file that cannot be read
// raises TMailError naming it.
std::string BuildBody(const TMailMessage& message, const TComposeOptions& options);

// The file name an attachment carries in the message.
std::string AttachmentName(const TMailAttachment& attachment);

}  // namespace vistrel
