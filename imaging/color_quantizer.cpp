#include "imaging/color_quantizer.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vistrel {
namespace {

// Colour of a pixel of a 24-bit row.
inline TColor BgrAt(const std::uint8_t* p) { return MakeColor(p[2], p[1], p[0]); }

// ---- NeuQuant (Dekker's self-organising map), for 128 colours or more ----

class TNeuralQuantizer {
 public:
  TNeuralQuantizer(const TPictureBitmap& picture, int colors)
      : picture_(picture), size_(colors), network_(colors), bias_(colors), freq_(colors) {
    for (int i = 0; i < size_; ++i) {
      const int v = (i << (kNetBiasShift + 8)) / size_;  // along the grey diagonal
      network_[i] = {v, v, v};
      freq_[i] = kIntBias / size_;
      bias_[i] = 0;
    }
  }

  TPalette Learn() {
    const std::int64_t pixels = std::int64_t(picture_.Width()) * picture_.Height();
    const std::int64_t length = pixels * 3;
    // Fewer samples for large pictures keep the time bounded; quality holds.
    int sample_factor = int(std::clamp<std::int64_t>((pixels + 249999) / 250000, 1, 30));
    if (length < 3 * kPrimes[3]) sample_factor = 1;
    const int alpha_dec = 30 + (sample_factor - 1) / 3;
    const std::int64_t samples = length / (3 * sample_factor);
    const std::int64_t delta = std::max<std::int64_t>(samples / kCycles, 1);
    int alpha = kInitAlpha;
    int radius = (size_ >> 3) * kRadiusBias;
    int rad = radius >> kRadiusBiasShift;
    if (rad <= 1) rad = 0;
    SetRadPower(rad, alpha);

    std::int64_t step = 3;
    for (int prime : kPrimes)
      if (length % prime != 0) {
        step = 3 * std::int64_t(prime);
        break;
      }
    std::int64_t pos = 0;  // byte offset into the picture's pixels, a multiple of 3
    const int width = picture_.Width();
    for (std::int64_t i = 0; i < samples;) {
      const std::int64_t index = pos / 3;
      const std::uint8_t* p = picture_.Row(int(index / width)) + (index % width) * 3;
      const int b = p[0] << kNetBiasShift, g = p[1] << kNetBiasShift, r = p[2] << kNetBiasShift;
      const int j = Contest(b, g, r);
      AlterSingle(alpha, j, b, g, r);
      if (rad) AlterNeighbours(rad, j, b, g, r);
      pos += step;
      if (pos >= length) pos %= length;
      if (++i % delta == 0) {
        alpha -= alpha / alpha_dec;
        radius -= radius / kRadiusDec;
        rad = radius >> kRadiusBiasShift;
        if (rad <= 1) rad = 0;
        SetRadPower(rad, alpha);
      }
    }
    TPalette palette;
    for (const auto& n : network_) {
      auto unbias = [](int v) {
        return std::uint8_t(std::clamp((v + (1 << (kNetBiasShift - 1))) >> kNetBiasShift, 0, 255));
      };
      palette.push_back(MakeColor(unbias(n[2]), unbias(n[1]), unbias(n[0])));
    }
    return palette;
  }

 private:
  static constexpr int kCycles = 100;
  static constexpr int kNetBiasShift = 4;
  static constexpr int kIntBiasShift = 16;
  static constexpr int kIntBias = 1 << kIntBiasShift;
  static constexpr int kGammaShift = 10;
  static constexpr int kBetaShift = 10;
  static constexpr int kBeta = kIntBias >> kBetaShift;
  static constexpr int kBetaGamma = kIntBias << (kGammaShift - kBetaShift);
  static constexpr int kRadiusBiasShift = 6;
  static constexpr int kRadiusBias = 1 << kRadiusBiasShift;
  static constexpr int kRadiusDec = 30;
  static constexpr int kAlphaBiasShift = 10;
  static constexpr int kInitAlpha = 1 << kAlphaBiasShift;
  static constexpr int kRadBiasShift = 8;
  static constexpr int kRadBias = 1 << kRadBiasShift;
  static constexpr int kAlphaRadBias = 1 << (kAlphaBiasShift + kRadBiasShift);
  static constexpr std::array<int, 4> kPrimes{499, 491, 487, 503};

  void SetRadPower(int rad, int alpha) {
    radpower_.assign(std::size_t(rad) + 1, 0);
    for (int i = 0; i < rad; ++i)
      radpower_[i] = alpha * (((rad * rad - i * i) * kRadBias) / (rad * rad));
  }

  // Finds the closest neuron, and the closest one once the bias against
  // frequent winners is counted; moves the frequencies and biases.
  int Contest(int b, int g, int r) {
    int best = 0x7FFFFFFF, best_biased = 0x7FFFFFFF, best_pos = 0, best_biased_pos = 0;
    for (int i = 0; i < size_; ++i) {
      const auto& n = network_[i];
      const int dist = std::abs(n[0] - b) + std::abs(n[1] - g) + std::abs(n[2] - r);
      if (dist < best) best = dist, best_pos = i;
      const int biased = dist - (bias_[i] >> (kIntBiasShift - kNetBiasShift));
      if (biased < best_biased) best_biased = biased, best_biased_pos = i;
      const int beta_freq = freq_[i] >> kBetaShift;
      freq_[i] -= beta_freq;
      bias_[i] += beta_freq << kGammaShift;
    }
    freq_[best_pos] += kBeta;
    bias_[best_pos] -= kBetaGamma;
    return best_biased_pos;
  }

  void AlterSingle(int alpha, int i, int b, int g, int r) {
    auto& n = network_[i];
    n[0] -= alpha * (n[0] - b) / kInitAlpha;
    n[1] -= alpha * (n[1] - g) / kInitAlpha;
    n[2] -= alpha * (n[2] - r) / kInitAlpha;
  }

  void AlterNeighbours(int rad, int i, int b, int g, int r) {
    const int lo = std::max(i - rad, -1), hi = std::min(i + rad, size_);
    int j = i + 1, k = i - 1, m = 1;
    while (j < hi || k > lo) {
      const int a = radpower_[m++];
      if (j < hi) Pull(network_[j++], a, b, g, r);
      if (k > lo) Pull(network_[k--], a, b, g, r);
    }
  }

  static void Pull(std::array<int, 3>& n, int a, int b, int g, int r) {
    n[0] -= int(std::int64_t(a) * (n[0] - b) / kAlphaRadBias);
    n[1] -= int(std::int64_t(a) * (n[1] - g) / kAlphaRadBias);
    n[2] -= int(std::int64_t(a) * (n[2] - r) / kAlphaRadBias);
  }

  const TPictureBitmap& picture_;
  int size_;
  std::vector<std::array<int, 3>> network_;  // blue, green, red, biased
  std::vector<int> bias_, freq_, radpower_;
};

// ---- Box splitting over a 5-bit-per-channel histogram, below 128 colours ----

struct TBox {
  int lo[3], hi[3];  // inclusive cell ranges, channel order r, g, b
  double count = 0, error = 0;
  double mean[3] = {0, 0, 0};
};

class TBoxSplitter {
 public:
  explicit TBoxSplitter(const TPictureBitmap& picture) : histogram_(32 * 32 * 32, 0) {
    for (int y = 0; y < picture.Height(); ++y) {
      const std::uint8_t* p = picture.Row(y);
      for (int x = 0; x < picture.Width(); ++x, p += 3)
        ++histogram_[Cell(p[2] >> 3, p[1] >> 3, p[0] >> 3)];
    }
  }

  TPalette Split(int colors) {
    std::vector<TBox> boxes(1);
    boxes[0] = {{0, 0, 0}, {31, 31, 31}};
    Measure(boxes[0]);
    while (int(boxes.size()) < colors) {
      int worst = -1;
      for (int i = 0; i < int(boxes.size()); ++i)
        if (boxes[i].error > 0 && (worst < 0 || boxes[i].error > boxes[worst].error)) worst = i;
      if (worst < 0) break;  // every box holds one cell
      TBox second;
      if (!Cut(boxes[worst], second)) {
        boxes[worst].error = 0;
        continue;
      }
      boxes.push_back(second);
    }
    TPalette palette;
    for (const TBox& box : boxes) {
      if (box.count == 0) continue;
      auto channel = [&](int c) { return std::uint8_t(std::min(255.0, box.mean[c] * 8 + 0.5)); };
      palette.push_back(MakeColor(channel(0), channel(1), channel(2)));
    }
    return palette;
  }

 private:
  static int Cell(int r, int g, int b) { return (r << 10) | (g << 5) | b; }

  template <typename F>
  void ForEachCell(const TBox& box, F f) const {
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
      for (int g = box.lo[1]; g <= box.hi[1]; ++g)
        for (int b = box.lo[2]; b <= box.hi[2]; ++b)
          if (const std::uint32_t n = histogram_[Cell(r, g, b)]) f(r, g, b, double(n));
  }

  // Count, mean and squared error; shrinks the box to its occupied cells.
  void Measure(TBox& box) const {
    double sum[3] = {0, 0, 0}, sq = 0, n = 0;
    int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
    ForEachCell(box, [&](int r, int g, int b, double c) {
      const int v[3] = {r, g, b};
      for (int k = 0; k < 3; ++k) {
        sum[k] += c * v[k];
        sq += c * v[k] * v[k];
        lo[k] = std::min(lo[k], v[k]);
        hi[k] = std::max(hi[k], v[k]);
      }
      n += c;
    });
    box.count = n;
    if (n == 0) {
      box.error = 0;
      return;
    }
    box.error = sq;
    for (int k = 0; k < 3; ++k) {
      box.mean[k] = sum[k] / n;
      box.error -= sum[k] * sum[k] / n;
      box.lo[k] = lo[k];
      box.hi[k] = hi[k];
    }
  }

  // Cuts the box at the weighted median of its widest-spread channel.
  bool Cut(TBox& box, TBox& second) const {
    int axis = -1;
    double best_spread = -1;
    std::array<std::vector<double>, 3> slices;
    for (int k = 0; k < 3; ++k) slices[k].assign(32, 0);
    ForEachCell(box, [&](int r, int g, int b, double c) {
      slices[0][r] += c;
      slices[1][g] += c;
      slices[2][b] += c;
    });
    for (int k = 0; k < 3; ++k) {
      if (box.lo[k] == box.hi[k]) continue;
      double var = 0;
      for (int v = box.lo[k]; v <= box.hi[k]; ++v)
        var += slices[k][v] * (v - box.mean[k]) * (v - box.mean[k]);
      if (var > best_spread) best_spread = var, axis = k;
    }
    if (axis < 0) return false;
    double acc = 0;
    int cut = box.lo[axis];
    for (int v = box.lo[axis]; v < box.hi[axis]; ++v) {
      acc += slices[axis][v];
      cut = v;
      if (acc >= box.count / 2) break;
    }
    second = box;
    box.hi[axis] = cut;
    second.lo[axis] = cut + 1;
    Measure(box);
    Measure(second);
    return true;
  }

  std::vector<std::uint32_t> histogram_;
};

}  // namespace

TPalette ExactColors(const TPictureBitmap& picture, int limit) {
  TPalette found;
  // Open-addressing set of the colours met so far; a colour is stored + 1.
  constexpr std::size_t kSlots = 1024;
  std::array<std::uint32_t, kSlots> seen{};
  auto add = [&](TColor c) {
    std::size_t slot = (c * 2654435761u) >> 22;
    while (seen[slot] != 0) {
      if (seen[slot] == c + 1) return true;
      slot = (slot + 1) & (kSlots - 1);
    }
    if (int(found.size()) >= limit) return false;
    seen[slot] = c + 1;
    found.push_back(c);
    return true;
  };
  limit = std::clamp(limit, 0, 256);
  TColor last = 0xFFFFFFFF;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const TColor c = picture.IsMono() ? picture.Pixel(x, y) : BgrAt(picture.Row(y) + 3 * x);
      if (c == last) continue;
      last = c;
      if (!add(c)) return {};
    }
  }
  return found;
}

TPalette BuildPalette(const TPictureBitmap& picture, int colors) {
  colors = std::clamp(colors, 2, 256);
  TPalette palette = ExactColors(picture, colors);
  if (palette.empty() && !picture.Empty()) {
    palette = colors >= 128 ? TNeuralQuantizer(picture, colors).Learn()
                            : TBoxSplitter(picture).Split(colors);
  }
  palette.resize(std::size_t(colors), kBlack);
  return palette;
}

TPaletteMapper::TPaletteMapper(TPalette palette)
    : palette_(std::move(palette)), cell_start_(32 * 32 * 32, 0), cell_count_(32 * 32 * 32, 0) {
  if (palette_.empty()) palette_.push_back(kBlack);
  if (palette_.size() > 256) palette_.resize(256);
  for (TColor c : palette_) rgb_.insert(rgb_.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
}

void TPaletteMapper::ListCandidates(int cell) {
  // An entry can be nearest somewhere in the cell only if its smallest
  // distance to the cell does not exceed the best largest distance.
  const int lo[3] = {(cell >> 10) << 3, ((cell >> 5) & 31) << 3, (cell & 31) << 3};
  const int n = int(palette_.size());
  std::vector<int> min_d(std::size_t(n), 0);
  int best_max = 0x7FFFFFFF;
  for (int i = 0; i < n; ++i) {
    int dmin = 0, dmax = 0;
    for (int k = 0; k < 3; ++k) {
      const int v = rgb_[3 * i + k], a = lo[k], b = lo[k] + 7;
      const int below = v < a ? a - v : v > b ? v - b : 0;
      const int far = std::max(std::abs(v - a), std::abs(v - b));
      dmin += below * below;
      dmax += far * far;
    }
    min_d[i] = dmin;
    best_max = std::min(best_max, dmax);
  }
  cell_start_[cell] = std::uint32_t(candidates_.size()) + 1;
  for (int i = 0; i < n; ++i)
    if (min_d[i] <= best_max) candidates_.push_back(std::uint8_t(i));
  cell_count_[cell] = std::uint16_t(candidates_.size() + 1 - cell_start_[cell]);
}

std::uint8_t TPaletteMapper::Index(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  const int cell = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
  if (cell_start_[cell] == 0) ListCandidates(cell);
  const std::uint8_t* list = candidates_.data() + cell_start_[cell] - 1;
  int best = 0x7FFFFFFF, best_index = 0;
  for (int k = 0; k < cell_count_[cell]; ++k) {
    const int i = list[k];
    const int dr = rgb_[3 * i] - r, dg = rgb_[3 * i + 1] - g, db = rgb_[3 * i + 2] - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < best) best = d, best_index = i;  // candidates are in index order
  }
  return std::uint8_t(best_index);
}

void TPaletteMapper::MapRow(const std::uint8_t* bgr, int width, std::uint8_t* indices) {
  int last_key = -1;
  std::uint8_t last = 0;
  for (int x = 0; x < width; ++x, bgr += 3) {
    const int key = (bgr[2] << 16) | (bgr[1] << 8) | bgr[0];
    if (key != last_key) {
      last = Index(bgr[2], bgr[1], bgr[0]);
      last_key = key;
    }
    indices[x] = last;
  }
}

void ReduceColors(TPictureBitmap& picture, int colors) {
  if (picture.IsMono() || picture.Empty()) return;
  TPaletteMapper mapper(BuildPalette(picture, colors));
  const TPalette& palette = mapper.Palette();
  std::vector<std::uint8_t> indices(std::size_t(picture.Width()));
  for (int y = 0; y < picture.Height(); ++y) {
    std::uint8_t* row = picture.Row(y);
    mapper.MapRow(row, picture.Width(), indices.data());
    for (int x = 0; x < picture.Width(); ++x) {
      const TColor c = palette[indices[x]];
      row[3 * x] = BlueOf(c);
      row[3 * x + 1] = GreenOf(c);
      row[3 * x + 2] = RedOf(c);
    }
  }
}

}  // namespace vistrel
