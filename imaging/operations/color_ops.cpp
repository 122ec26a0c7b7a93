#include "color_ops.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "imaging/operations/parallel_rows.h"

namespace vistrel {

namespace {

using TLut = std::array<std::uint8_t, 256>;

std::uint8_t Clamp8(std::int64_t v) { return std::uint8_t(std::clamp<std::int64_t>(v, 0, 255)); }

// Runs fn(row, width) over every 24-bit row.
template <typename Fn>
void ForEachRow(TPictureBitmap& picture, TProgress& progress, Fn fn) {
  if (picture.Empty() || picture.IsMono()) return;
  const int w = picture.Width();
  ParallelRows(picture.Height(), std::int64_t(w) * picture.Height(), progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) fn(picture.Row(y), w);
  });
}

// Three lookup tables, one per channel, in byte order blue, green, red.
void ApplyLuts(TPictureBitmap& picture, const TLut& blue, const TLut& green, const TLut& red,
               TProgress& progress) {
  ForEachRow(picture, progress, [&](std::uint8_t* p, int w) {
    for (int x = 0; x < w; ++x, p += 3) {
      p[0] = blue[p[0]];
      p[1] = green[p[1]];
      p[2] = red[p[2]];
    }
  });
}

TLut OffsetLut(int add) {
  TLut lut;
  for (int v = 0; v < 256; ++v) lut[std::size_t(v)] = Clamp8(v + std::int64_t(add));
  return lut;
}

}  // namespace

void GrayPixels(TPictureBitmap& picture, TProgress& progress) {
  ForEachRow(picture, progress, [](std::uint8_t* p, int w) {
    for (int x = 0; x < w; ++x, p += 3) {
      const std::uint8_t g = std::uint8_t(GreyOf(p[2], p[1], p[0]));
      p[0] = p[1] = p[2] = g;
    }
  });
}

void NegatePixels(TPictureBitmap& picture, TProgress& progress) {
  if (picture.Empty()) return;
  // Whole bytes are inverted; padding bits of 1-bit rows carry no meaning.
  const std::size_t bytes = picture.IsMono() ? (std::size_t(picture.Width()) + 7) / 8 : std::size_t(picture.Width()) * 3;
  ParallelRows(picture.Height(), std::int64_t(bytes) * picture.Height(), progress, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      std::uint8_t* p = picture.Row(y);
      for (std::size_t i = 0; i < bytes; ++i) p[i] = std::uint8_t(~p[i]);
    }
  });
}

void AddToChannels(TPictureBitmap& picture, int red, int green, int blue, TProgress& progress) {
  ApplyLuts(picture, OffsetLut(blue), OffsetLut(green), OffsetLut(red), progress);
}

void CastColorRangePixels(TPictureBitmap& picture, TColor begin, TColor end, TColor cast, TProgress& progress) {
  const std::uint8_t lo[3] = {std::min(BlueOf(begin), BlueOf(end)), std::min(GreenOf(begin), GreenOf(end)),
                              std::min(RedOf(begin), RedOf(end))};
  const std::uint8_t hi[3] = {std::max(BlueOf(begin), BlueOf(end)), std::max(GreenOf(begin), GreenOf(end)),
                              std::max(RedOf(begin), RedOf(end))};
  const std::uint8_t to[3] = {BlueOf(cast), GreenOf(cast), RedOf(cast)};
  ForEachRow(picture, progress, [&](std::uint8_t* p, int w) {
    for (int x = 0; x < w; ++x, p += 3) {
      if (p[0] >= lo[0] && p[0] <= hi[0] && p[1] >= lo[1] && p[1] <= hi[1] && p[2] >= lo[2] && p[2] <= hi[2]) {
        p[0] = to[0];
        p[1] = to[1];
        p[2] = to[2];
      }
    }
  });
}

void SwapColorPixels(TPictureBitmap& picture, TColor first, TColor second, TProgress& progress) {
  const std::uint8_t a[3] = {BlueOf(first), GreenOf(first), RedOf(first)};
  const std::uint8_t b[3] = {BlueOf(second), GreenOf(second), RedOf(second)};
  ForEachRow(picture, progress, [&](std::uint8_t* p, int w) {
    for (int x = 0; x < w; ++x, p += 3) {
      if (p[0] == a[0] && p[1] == a[1] && p[2] == a[2]) {
        p[0] = b[0];
        p[1] = b[1];
        p[2] = b[2];
      } else if (p[0] == b[0] && p[1] == b[1] && p[2] == b[2]) {
        p[0] = a[0];
        p[1] = a[1];
        p[2] = a[2];
      }
    }
  });
}

TChannelMeans ChannelMeans(const TPictureBitmap& picture) {
  if (picture.Empty()) return {};
  const std::int64_t count = std::int64_t(picture.Width()) * picture.Height();
  if (picture.IsMono()) {
    std::int64_t white = 0;
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) white += picture.Pixel(x, y) == kWhite;
    const int m = int(white * 255 / count);
    return {m, m, m};
  }
  std::int64_t sum[3] = {0, 0, 0};
  for (int y = 0; y < picture.Height(); ++y) {
    const std::uint8_t* p = picture.Row(y);
    std::int64_t row[3] = {0, 0, 0};
    for (int x = 0; x < picture.Width(); ++x, p += 3) {
      row[0] += p[0];
      row[1] += p[1];
      row[2] += p[2];
    }
    for (int c = 0; c < 3; ++c) sum[c] += row[c];
  }
  return {int(sum[2] / count), int(sum[1] / count), int(sum[0] / count)};
}

std::int64_t ContrastFactor(int amount) {
  const double scale = amount >= 0 ? amount / 10.0 + 1 : 1 - std::sqrt(-double(amount)) / 10;
  return std::llround(scale * 65536);
}

void ContrastPixels(TPictureBitmap& picture, int amount, const TChannelMeans& means, TProgress& progress) {
  const std::int64_t f = ContrastFactor(amount);
  auto lut = [f](int m) {
    TLut t;
    // Division truncates toward zero, as the formula's div does.
    for (int v = 0; v < 256; ++v) t[std::size_t(v)] = Clamp8(m + f * (v - m) / 65536);
    return t;
  };
  ApplyLuts(picture, lut(means.blue), lut(means.green), lut(means.red), progress);
}

}  // namespace vistrel
