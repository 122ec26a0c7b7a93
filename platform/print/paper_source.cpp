#include <QPrinter>

#include "platform/print/printers.h"

namespace vistrel {

namespace {
struct TBin {
  int bin;  // DMBIN_*
  QPrinter::PaperSource source;
};
constexpr TBin kBins[] = {
    {1, QPrinter::Upper},         {2, QPrinter::Lower},          {3, QPrinter::Middle},
    {4, QPrinter::Manual},        {5, QPrinter::Envelope},       {6, QPrinter::EnvelopeManual},
    {7, QPrinter::Auto},          {8, QPrinter::Tractor},        {9, QPrinter::SmallFormat},
    {10, QPrinter::LargeFormat},  {11, QPrinter::LargeCapacity}, {14, QPrinter::Cassette},
    {15, QPrinter::FormSource},
};
}  // namespace

int PaperSourceFromBin(int bin) {
  for (const TBin& b : kBins)
    if (b.bin == bin) return int(b.source);
  return -1;
}

int BinFromPaperSource(int source) {
  for (const TBin& b : kBins)
    if (int(b.source) == source) return b.bin;
  return -1;
}

}  // namespace vistrel
