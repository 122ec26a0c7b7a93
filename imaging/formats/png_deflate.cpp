#include "imaging/formats/png_deflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <stdexcept>
#include <thread>

#include "imaging/formats/png_deflate_blocks.h"

namespace vistrel {
namespace {

// The stored level is zlib's 0..9, and files must stay as small as zlib
// made them at that level. libdeflate's levels run 1..12 and are faster
// level for level; each zlib level maps to the fastest libdeflate level that
// stays within a percent or two of zlib's size on screenshots (text, smooth
// gradients, photographs) under every row filter. libdeflate's 2 and 3 fall
// far behind zlib's 1 and 2 on filtered gradients, hence 4 for both. At 8
// and 9 only libdeflate's near-optimal parsing (10 and up, several times
// slower than zlib) matches zlib's long hash chains, so those levels stay
// with zlib, still in bands on every core.
//   zlib level:       0  1  2  3  4  5  6  7  8  9
//   libdeflate level: -  4  4  6  4  6  7  8  (zlib)
constexpr int kLibdeflateLevel[10] = {0, 4, 4, 6, 4, 6, 7, 8, 0, 0};
constexpr int kFirstZlibLevel = 8;

// Bands below this much raw data cost more in threads and lost matches
// across the band edge than they save.
constexpr std::size_t kMinBandBytes = 512 * 1024;

struct TBand {
  int first = 0, last = 0;
  std::vector<std::uint8_t> deflate;
  std::uint32_t adler = 1;
  std::size_t raw_size = 0;
  bool joined = true;  // false when it could not be made to continue into the next band
};

struct TCompressorFree {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// Stored blocks hold at most 65535 bytes each.
void Store(const std::uint8_t* raw, std::size_t size, bool last_band, std::vector<std::uint8_t>& out) {
  std::size_t at = 0;
  do {
    const std::size_t n = std::min<std::size_t>(size - at, 65535);
    const bool final = last_band && at + n == size;
    out.insert(out.end(), {std::uint8_t(final), std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(~n),
                           std::uint8_t(~n >> 8)});
    out.insert(out.end(), raw + at, raw + at + n);
    at += n;
  } while (at < size);
}

// Buffers left uninitialised: zeroing megabytes the compressor overwrites
// or never touches costs as much as a fast compression level.
std::unique_ptr<std::uint8_t[]> Buffer(std::size_t size) { return std::unique_ptr<std::uint8_t[]>(new std::uint8_t[size]); }

// zlib ends a band that another follows with a sync flush, which leaves it
// on a byte boundary after an empty stored block.
void Deflate(const std::uint8_t* raw, std::size_t size, int level, bool filtered, bool last_band,
             std::vector<std::uint8_t>& out) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, 9, filtered ? Z_FILTERED : Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::bad_alloc();
  const std::size_t bound = deflateBound(&z, uLong(size)) + 16;
  const auto buffer = Buffer(bound);
  z.next_in = const_cast<Bytef*>(raw);
  z.avail_in = uInt(size);
  z.next_out = buffer.get();
  z.avail_out = uInt(bound);
  const int rc = deflate(&z, last_band ? Z_FINISH : Z_SYNC_FLUSH);
  out.assign(buffer.get(), buffer.get() + z.total_out);
  deflateEnd(&z);
  if (rc != (last_band ? Z_STREAM_END : Z_OK) || z.avail_in) throw std::runtime_error("Deflate failed");
}

void CompressBand(const TPngScanlines& lines, int level, bool last_band, TBand& band) {
  const std::size_t size = lines.FilteredSize(band.first, band.last);
  const auto raw = Buffer(size);
  lines.Filter(band.first, band.last, raw.get());
  band.raw_size = size;
  band.adler = std::uint32_t(libdeflate_adler32(1, raw.get(), size));
  if (level == 0) return Store(raw.get(), size, last_band, band.deflate);
  if (level >= kFirstZlibLevel) return Deflate(raw.get(), size, level, lines.Filtered(), last_band, band.deflate);
  std::unique_ptr<libdeflate_compressor, TCompressorFree> c(libdeflate_alloc_compressor(kLibdeflateLevel[level]));
  if (!c) throw std::bad_alloc();
  const std::size_t bound = libdeflate_deflate_compress_bound(c.get(), size);
  const auto out = Buffer(bound);
  const std::size_t n = libdeflate_deflate_compress(c.get(), raw.get(), size, out.get(), bound);
  if (n == 0) throw std::runtime_error("Deflate failed");
  band.deflate.assign(out.get(), out.get() + n);
  if (!last_band) band.joined = ContinueAfter(band.deflate);
}

std::vector<TBand> CompressBands(const TPngScanlines& lines, int level, int count) {
  std::vector<TBand> bands(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    bands[std::size_t(i)].first = int(std::int64_t(lines.Count()) * i / count);
    bands[std::size_t(i)].last = int(std::int64_t(lines.Count()) * (i + 1) / count);
  }
  std::vector<std::exception_ptr> errors(bands.size());
  auto run = [&](std::size_t i) {
    try {
      CompressBand(lines, level, i + 1 == bands.size(), bands[i]);
    } catch (...) {
      errors[i] = std::current_exception();
    }
  };
  std::vector<std::thread> workers;
  for (std::size_t i = 1; i < bands.size(); ++i) workers.emplace_back(run, i);
  run(0);
  for (std::thread& t : workers) t.join();
  for (const std::exception_ptr& e : errors)
    if (e) std::rethrow_exception(e);
  return bands;
}

int BandCount(const TPngScanlines& lines, int level) {
  if (level == 0) return 1;
  const std::size_t bytes = lines.FilteredSize(0, lines.Count());
  const std::size_t cores = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  return int(std::max<std::size_t>(1, std::min(cores, bytes / kMinBandBytes)));
}

}  // namespace

std::vector<std::uint8_t> CompressPngImageData(const TPngScanlines& lines, int level) {
  return CompressPngImageData(lines, level, BandCount(lines, level));
}

std::vector<std::uint8_t> CompressPngImageData(const TPngScanlines& lines, int level, int count) {
  level = std::clamp(level, 0, 9);
  count = std::clamp(count, 1, std::max(1, lines.Count()));
  std::vector<TBand> bands = CompressBands(lines, level, count);
  const bool joined = std::all_of(bands.begin(), bands.end(), [](const TBand& b) { return b.joined; });
  if (!joined) bands = CompressBands(lines, level, 1);

  // The zlib header says which of zlib's four speed classes made the data,
  // as zlib itself would at this level.
  const int flevel = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
  const unsigned cmf = 0x78, flg = unsigned(flevel) << 6;
  std::vector<std::uint8_t> out{std::uint8_t(cmf), std::uint8_t(flg + (31 - (cmf * 256 + flg) % 31) % 31)};
  std::size_t total = 2 + 4;
  for (const TBand& b : bands) total += b.deflate.size();
  out.reserve(total);
  uLong adler = bands.front().adler;
  out.insert(out.end(), bands.front().deflate.begin(), bands.front().deflate.end());
  for (std::size_t i = 1; i < bands.size(); ++i) {
    adler = adler32_combine(adler, bands[i].adler, z_off_t(bands[i].raw_size));
    out.insert(out.end(), bands[i].deflate.begin(), bands[i].deflate.end());
  }
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(std::uint8_t(adler >> shift));
  return out;
}

}  // namespace vistrel
