// Checks a WMF's header and record sizes before libwmf sees the file:
// libwmf allocates what the header claims.
#pragma once

#include "imaging/formats/format_support.h"

namespace vistrel {

// Raises FormatError unless every record lies within the file and within
// the largest record size the header gives.
void CheckWmfRecords(TByteSpan data);

}  // namespace vistrel
