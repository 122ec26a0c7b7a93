// Text rules of the mail message: one-line fields, body lines, recipient
// addresses, and the labelling of non-ASCII text (UTF-8, RFC 2047 encoded
// words in headers, quoted-printable in the text part).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vistrel {

// Each CR LF, CR or LF becomes one blank, so a field can never start a new
// command or header line.
std::string OneLine(std::string_view text);

// Lines split at CR LF, LF or CR. An empty text gives no lines; a final
// line break does not add an empty line.
std::vector<std::string> SplitLines(std::string_view text);

// The address of a recipient line: between the first "<" and the next ">";
// else after the first ":" up to the next ":"; else the whole line.
std::string ExtractAddress(std::string_view line);

bool IsAscii(std::string_view text);

// Text from outside as an error message may quote it: control characters
// as "?", cut after 100 bytes with "..." added.
std::string Printable(std::string_view text);

// The text as RFC 2047 encoded words ("=?utf-8?B?...?="), blank-separated,
// each holding whole UTF-8 characters; all-ASCII text unchanged.
std::string HeaderText(std::string_view utf8);

// One line as quoted-printable, soft-broken to at most 76 characters, each
// output line ending with CR LF.
std::string QuotedPrintableLine(std::string_view line);

// A line starting with "." gets another "." in front, for every line of
// `text` (lines end with LF).
std::string DotStuffed(std::string text);

}  // namespace vistrel
