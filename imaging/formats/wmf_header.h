// Checks a WMF's header, record sizes and bitmap headers before libwmf
// sees the file: libwmf allocates what the header claims and trusts the
// bitmaps' header sizes.
#pragma once

#include "imaging/formats/format_support.h"

namespace vistrel {

// Raises FormatError unless every record lies within the file and within
// the largest record size the header gives, and every bitmap in a record
// starts with a header Windows writes.
void CheckWmfRecords(TByteSpan data);

}  // namespace vistrel
