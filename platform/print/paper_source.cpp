#include <string_view>

#include "platform/print/printers.h"

namespace vistrel {

namespace {
struct TBin {
  int bin;  // DMBIN_*
  std::string_view keyword;
};
constexpr TBin kBins[] = {
    {1, "top"},    {2, "bottom"},     {3, "middle"},     {4, "manual"},
    {5, "envelope"}, {7, "auto"},     {8, "continuous"}, {11, "large-capacity"},
    {15, "main"},
};
}  // namespace

std::string MediaSourceFromBin(int bin) {
  for (const TBin& b : kBins)
    if (b.bin == bin) return std::string(b.keyword);
  return {};
}

int BinFromMediaSource(const std::string& keyword) {
  for (const TBin& b : kBins)
    if (b.keyword == keyword) return b.bin;
  return 0;
}

}  // namespace vistrel
