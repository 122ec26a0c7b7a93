// How a writer stores the picture's colours: black and white, grey, a
// palette or full colour. The parameter set asks for a layout; this decides
// what the file gets, so that no writer drops colours the user did not ask
// to lose.
//
// - Black and white or grey asked for by the user (or the defaults) is
//   honoured: the picture is thresholded or turned grey.
// - A palette means "up to 2^bits colours": the quantizer makes it, exact
//   when the picture has no more colours than that.
// - When the layout came from the file read last and the picture now holds
//   colours it would drop (a 1-bit file painted in colour, a grey JPEG made
//   colourful), the writer keeps the colours: a larger palette when that is
//   exact, otherwise full colour where the format has it.
#pragma once

#include <string_view>

#include "imaging/formats/io_params.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

enum class TColorLayout { BlackWhite, Grey, Palette, Rgb };

// What a format can store. `palette_depths` has bit d set when a palette of
// d bits per pixel (1..8) can be written.
struct TWriterColors {
  bool black_white = false;
  bool grey = false;
  unsigned palette_depths = 0;
  bool rgb = false;
};

constexpr unsigned PaletteDepths(std::initializer_list<int> depths) {
  unsigned mask = 0;
  for (int d : depths) mask |= 1u << d;
  return mask;
}

// The layout the parameters ask for.
struct TColorRequest {
  TColorLayout layout = TColorLayout::Rgb;
  int bits = 8;            // palette bits per pixel for Palette
  bool from_file = false;  // the parameters were taken from the file read
};

struct TColorDecision {
  TColorLayout layout = TColorLayout::Rgb;
  int bits = 8;       // bits per pixel in the file for Palette (a depth of the format)
  int colors = 256;   // palette entries to build for Palette (at most 2^bits)
  bool operator==(const TColorDecision&) const = default;
};

TColorDecision DecideColors(const TPictureBitmap& picture, const TColorRequest& request,
                            const TWriterColors& can);

// The common reading of bits per sample and samples per pixel: 1 bit and 1
// sample is black and white, 1 sample a palette of 2^bits colours, more
// samples full colour.
TColorRequest DepthRequest(const TIOParams& params);

// Whether each colour parameter still holds what the last file read gave it
// (a choice made since then, in a dialog or on the command line, is the
// user's).
bool DepthFromFile(const TIOParams& params);
bool JpegColorSpaceFromFile(const TIOParams& params);
bool J2kColorSpaceFromFile(const TIOParams& params);

// Records the colour parameters that a file of `type` gave when it was read.
void NoteFileColors(TIOParams& params, TFileType type);

// Forgets that the colour parameter `name` (a writer parameter name such as
// "samples-per-pixel") came from the file: someone chose it.
void NoteColorChoice(TIOParams& params, std::string_view name);

}  // namespace vistrel
