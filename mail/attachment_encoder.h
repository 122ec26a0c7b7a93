// Turns an attachment's bytes into lines of printable characters: MIME
// base64 (uuMime) or the uuencode alphabet (uuCode), 45 input bytes a line,
// every line ending with CR LF. No begin or end lines: the message layer
// wraps uuencoded text itself.
#pragma once

#include <string>
#include <string_view>

namespace vistrel {

enum TEncodeMethod { uuMime = 0, uuCode = 1 };

class TAttachmentEncoder {
 public:
  TEncodeMethod Method = uuMime;

  // Appends the encoded lines of `input` to `output`.
  void Encode(std::string_view input, std::string& output) const;
};

// The number of characters Encode appends for `input_size` bytes.
std::size_t EncodedSize(TEncodeMethod method, std::size_t input_size);

}  // namespace vistrel
