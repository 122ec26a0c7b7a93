// Sender and recipient addresses: "a@b.org", "Name <a@b.org>",
// "\"Last, First\" <a@b.org>", several in one field separated by "," or
// ";". Anything that is not one plain address is refused before a byte
// reaches the server, so no field can add a recipient, a command or a
// sender of its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mail/TMailMessage.h"

namespace vistrel {

struct TMailbox {
  std::string name;  // display name, unquoted; may be empty
  std::string address;
};

// Followed by the refused text in double quotes.
inline constexpr const char* kBadAddressText = "Not a valid e-mail address: ";

// Raises TMailError naming `address` unless it is one address: one "@"
// with text on both sides, and no blank, control character, "<", ">" or
// ",".
void CheckAddress(std::string_view address);

// One entry of a field. Without angle brackets the address is taken as
// ExtractAddress does ("SMTP:a@b.org" gives a@b.org). Raises for a bad
// address or for text after the closing ">".
TMailbox ParseMailbox(std::string_view entry);

// The entries of a field, split at "," and ";" outside quotes and angle
// brackets; empty entries are skipped.
std::vector<TMailbox> ParseAddressList(std::string_view field);

// Every recipient address of the three lists, in order, for RCPT TO.
std::vector<std::string> RecipientAddresses(const TMailMessage& message);

// A display name as a header carries it: atoms and blanks as they are,
// other ASCII text as a quoted string, non-ASCII text as encoded words.
std::string HeaderName(std::string_view name);

// The header value of recipient lines: "Name <a@b.org>" or "a@b.org" per
// entry, joined by ",", folded before a line grows past 78 characters.
std::string HeaderAddressList(const std::vector<std::string>& lines, std::size_t label_length);

}  // namespace vistrel
