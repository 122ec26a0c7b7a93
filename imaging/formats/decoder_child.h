// Decoding in a child process, for readers built on libraries that can
// abort the process or loop forever on a damaged file (the metafile
// players and the SVG renderer). The child gets the file on its standard
// input and answers with the picture on its standard output; a crash, a
// refusal or a time-out in it becomes a FormatError here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/formats/format_support.h"

namespace vistrel {

struct TChildLimits {
  int cpu_seconds = 10;                              // RLIMIT_CPU
  int wall_seconds = 30;                             // then the child is killed
  std::uint64_t address_space = std::uint64_t(4) << 30;  // RLIMIT_AS, bytes
};

// Runs `argv` (argv[0] is the executable's path) without a display
// connection, within `limits`, with `input` on its standard input, and
// returns the picture it writes with WriteChildPicture. Raises FormatError
// with the cause when the child fails, ends on a signal or runs too long;
// its own error text (the last line on its standard error) when it
// refuses the file.
TPictureBitmap DecodeInChild(const std::vector<std::string>& argv, TByteSpan input,
                             const TChildLimits& limits = {});

// Called on the waiting thread about every 50 ms while a child runs, so
// that the program's windows go on painting and answering meanwhile; null
// for none.
void SetChildWaitHook(void (*hook)());

// The child's side: the picture on file descriptor `fd`. Returns false
// when the pipe fails.
bool WriteChildPicture(int fd, const TPictureBitmap& picture);


}  // namespace vistrel
