// Palettes for pictures written with fewer colours (GIF, BMP, PCX, ICO and
// PNG palettes) and the ConvertTo colour reduction.
//
// BuildPalette keeps the picture's own colours when they fit, in the order a
// top-down row scan meets them, the rest of the palette black. Otherwise a
// NeuQuant-style network learns palettes of 128 colours or more, and a box
// splitter over a 32 x 32 x 32 histogram makes smaller ones.
#pragma once

#include <cstdint>
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
// index among equals). The colour cube is cut into 32 x 32 x 32 cells; the
// first colour met in a cell lists the entries that can be nearest anywhere
// in it, so a lookup compares a handful of entries. Not for two threads.
class TPaletteMapper {
 public:
  explicit TPaletteMapper(TPalette palette);

  const TPalette& Palette() const { return palette_; }
  std::uint8_t Index(std::uint8_t r, std::uint8_t g, std::uint8_t b);
  std::uint8_t Index(TColor c) { return Index(RedOf(c), GreenOf(c), BlueOf(c)); }
  // One 24-bit row (blue, green, red bytes) to palette indices.
  void MapRow(const std::uint8_t* bgr, int width, std::uint8_t* indices);

 private:
  void ListCandidates(int cell);

  TPalette palette_;
  std::vector<std::int32_t> rgb_;            // r, g, b per entry
  std::vector<std::uint32_t> cell_start_;    // per cell: offset into candidates_ + 1; 0 = not yet
  std::vector<std::uint16_t> cell_count_;
  std::vector<std::uint8_t> candidates_;
};

// Replaces every colour of a 24-bit picture by the nearest entry of its
// `colors`-colour palette. 1-bit pictures stay as they are.
void ReduceColors(TPictureBitmap& picture, int colors);

}  // namespace vistrel
