// Palettes for pictures written with fewer colours (GIF, BMP, PCX, ICO and
// PNG palettes) and the ConvertTo colour reduction.
//
// BuildPalette keeps the picture's own colours when they fit, in the order a
// top-down row scan meets them, the rest of the palette black. Otherwise a
// NeuQuant-style network learns palettes of 128 colours or more, and a box
// splitter over a 32 x 32 x 32 histogram makes smaller ones.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/picture_bitmap.h"

namespace vistrel {

using TPalette = std::vector<TColor>;

// A palette of exactly `colors` entries (clamped to 2..256) for the picture.
// A 1-bit picture gets black and white (in the order met) then black.
TPalette BuildPalette(const TPictureBitmap& picture, int colors);

// The distinct colours of the picture in row-scan first-meeting order, or an
// empty palette when there are more than `limit`.
TPalette ExactColors(const TPictureBitmap& picture, int limit);

// Maps colours to the nearest palette entry (Euclidean in RGB, the lowest
// index among equals). Answers are cached per colour, so mapping a whole
// picture costs one search per distinct colour. Not for use by two threads.
class TPaletteMapper {
 public:
  explicit TPaletteMapper(TPalette palette);
  ~TPaletteMapper();
  TPaletteMapper(TPaletteMapper&&) noexcept;
  TPaletteMapper& operator=(TPaletteMapper&&) noexcept;

  const TPalette& Palette() const { return palette_; }
  std::uint8_t Index(std::uint8_t r, std::uint8_t g, std::uint8_t b);
  std::uint8_t Index(TColor c) { return Index(RedOf(c), GreenOf(c), BlueOf(c)); }
  // One 24-bit row (blue, green, red bytes) to palette indices.
  void MapRow(const std::uint8_t* bgr, int width, std::uint8_t* indices);

 private:
  std::uint8_t Search(int r, int g, int b) const;

  TPalette palette_;
  struct TEntry {
    int g, r, b, index;
  };
  std::vector<TEntry> by_green_;  // entries sorted by green for the search
  struct TFree {
    void operator()(std::uint16_t* p) const;
  };
  std::unique_ptr<std::uint16_t, TFree> cache_;  // 2^24 slots, 0 = not yet known
};

// Replaces every colour of a 24-bit picture by the nearest entry of its
// `colors`-colour palette. 1-bit pictures stay as they are.
void ReduceColors(TPictureBitmap& picture, int colors);

}  // namespace vistrel
