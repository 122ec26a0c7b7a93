#include "operation_table.h"

#include <array>
#include <climits>

#include "imaging/color_quantizer.h"
#include "imaging/operations/black_white.h"
#include "imaging/operations/color_ops.h"
#include "imaging/operations/convolution.h"
#include "imaging/operations/count_colors.h"
#include "imaging/operations/effects.h"
#include "imaging/operations/flip_canvas.h"
#include "imaging/operations/hsl_adjust.h"
#include "imaging/operations/picture_area.h"
#include "imaging/operations/redaction.h"
#include "imaging/operations/resample.h"
#include "imaging/operations/rotate.h"

namespace vistrel {

namespace {

constexpr double kIntMax = INT_MAX;
constexpr double kMaxSide = INT_MAX;

using A = TArgSpec;
using K = TArgKind;

constexpr std::array<TArgSpec, 0> kNoArgs{};
constexpr std::array kFlipArgs{A{"DIR", K::Integer, 0, 1, {}}};
constexpr std::array kFilterArgs{
    A{"K1", K::Integer, -kMaxKernelValue, kMaxKernelValue, {}}, A{"K2", K::Integer, -kMaxKernelValue, kMaxKernelValue, {}},
    A{"K3", K::Integer, -kMaxKernelValue, kMaxKernelValue, {}}, A{"K4", K::Integer, -kMaxKernelValue, kMaxKernelValue, {}},
    A{"K5", K::Integer, -kMaxKernelValue, kMaxKernelValue, {}}, A{"K6", K::Integer, -kMaxKernelValue, kMaxKernelValue, {}},
    A{"K7", K::Integer, -kMaxKernelValue, kMaxKernelValue, {}}, A{"K8", K::Integer, -kMaxKernelValue, kMaxKernelValue, {}},
    A{"K9", K::Integer, -kMaxKernelValue, kMaxKernelValue, {}}, A{"DIVISOR", K::Integer, -kIntMax, kIntMax, {}}};
constexpr std::array kHslArgs{A{"H", K::Number, -1e9, 1e9, {}}, A{"S", K::Number, -1e9, 1e9, {}},
                              A{"L", K::Number, -1e9, 1e9, {}}};
constexpr std::array kContrastArgs{A{"N", K::Integer, -1e6, 1e6, {}}};
constexpr std::array kRgbArgs{A{"R", K::Integer, -1e6, 1e6, {}}, A{"G", K::Integer, -1e6, 1e6, {}},
                              A{"B", K::Integer, -1e6, 1e6, {}}};
constexpr std::array kCastArgs{A{"BEGIN", K::Color, 0, 0, {}}, A{"END", K::Color, 0, 0, {}},
                               A{"CAST", K::Color, 0, 0, {}}};
constexpr std::array kSwapArgs{A{"C1", K::Color, 0, 0, {}}, A{"C2", K::Color, 0, 0, {}}};
// BG -1: the processor's background colour.
constexpr std::array kRotateArgs{A{"DEG", K::Number, -1e9, 1e9, {}}, A{"AA", K::Integer, 0, 1, 1.0},
                                 A{"BG", K::Color, 0, 0, -1.0}};
constexpr std::array kResampleArgs{A{"W", K::Integer, -kMaxSide, kMaxSide, {}},
                                   A{"H", K::Integer, -kMaxSide, kMaxSide, {}},
                                   A{"FILTER", K::Filter, 0, 6, double(int(TResampleFilter::rfMitchell))}};
constexpr std::array kCanvasArgs{A{"W", K::Integer, 1, kMaxSide, {}}, A{"H", K::Integer, 1, kMaxSide, {}},
                                 A{"HALIGN", K::Integer, 0, 2, 0.0}, A{"VALIGN", K::Integer, 0, 2, 0.0}};
constexpr std::array kColorsArgs{A{"N", K::Integer, 3, 1024, {}}};
constexpr std::array kThresholdArgs{A{"T", K::Integer, -1, 255, {}}};
// Effects of the effects dialog, with the ranges of its controls.
constexpr std::array kEffectContrastArgs{A{"C", K::Integer, -100, 100, {}}, A{"B", K::Integer, -100, 100, 0.0}};
constexpr std::array kEffectHsvArgs{A{"H", K::Integer, -180, 180, {}}, A{"S", K::Integer, -100, 100, 0.0},
                                    A{"V", K::Integer, -100, 100, 0.0}};
constexpr std::array kEffectLevelsArgs{A{"LOW", K::Integer, 0, 255, {}}, A{"HIGH", K::Integer, 0, 255, {}},
                                       A{"OUTLOW", K::Integer, 0, 255, 0.0}, A{"OUTHIGH", K::Integer, 0, 255, 255.0}};
constexpr std::array kEffectBumpArgs{A{"DEPTH", K::Integer, 0, 100, {}}, A{"AZIMUTH", K::Integer, 0, 359, 135.0}};
constexpr std::array kEffectLensArgs{A{"STRENGTH", K::Integer, -100, 100, {}}};
constexpr std::array kEffectWaveArgs{A{"AMPLITUDE", K::Integer, 0, 50, {}}, A{"WAVELENGTH", K::Integer, 2, 200, 20.0}};
constexpr std::array kEffectMorphArgs{A{"MODE", K::Integer, 0, 3, {}}, A{"RADIUS", K::Integer, 0, 10, 1.0}};
constexpr std::array kEffectFftArgs{A{"MODE", K::Integer, 0, 1, {}}, A{"CUTOFF", K::Integer, 0, 100, {}}};
constexpr std::array kEffectGammaArgs{A{"GAMMA", K::Integer, 10, 500, {}}};
constexpr std::array kPixelateArgs{A{"BLOCK", K::Integer, 1, 4096, 8.0}};
constexpr std::array kBlurArgs{A{"RADIUS", K::Number, 0.1, 200, 3.0}};
constexpr std::array kEffectSharpenArgs{A{"AMPLITUDE", K::Integer, 0, 100, {}}, A{"WINDOW", K::Integer, 3, 15, 3.0}};

// Captions ------------------------------------------------------------------

template <const char* Text>
std::string Fixed(const TOpArgs&) {
  return Text;
}
constexpr char kGray[] = "ConvertToGray", kNegative[] = "Negative", kFlip[] = "Flip", kFilter[] = "ApplyFilter",
               kCast[] = "CastColorRange", kSwap[] = "SwapColors", kTo24[] = "ConvertTo24Bit",
               kClear[] = "ClearSel", kCrop[] = "CropSel";

// "Name a,b,c" from the first `count` arguments.
template <std::size_t Count>
std::string Joined(std::string_view name, const TOpArgs& args) {
  std::string s(name);
  for (std::size_t i = 0; i < Count; ++i) {
    s += i == 0 ? ' ' : ',';
    s += FormatNumber(args.Number(i));
  }
  return s;
}

// Work ----------------------------------------------------------------------

std::int64_t ReplaceWith(TPictureBitmap& target, TPictureBitmap result) {
  target = std::move(result);
  return 0;
}

const TOperation kOperations[] = {
    {"ConvertToGray", TOpFormats::Any, TOpArea::Selection, kNoArgs, Fixed<kGray>, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs&) -> std::int64_t {
       GrayPixels(t, c.progress);
       return 0;
     }},
    {"Negative", TOpFormats::Any, TOpArea::Selection, kNoArgs, Fixed<kNegative>, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs&) -> std::int64_t {
       NegatePixels(t, c.progress);
       return 0;
     }},
    {"Flip", TOpFormats::Any, TOpArea::Whole, kFlipArgs, Fixed<kFlip>, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       FlipPicture(t, TFlipDirection(a.Int(0)), c.progress);
       return 0;
     }},
    {"ApplyFilter", TOpFormats::Color24, TOpArea::Selection, kFilterArgs, Fixed<kFilter>, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       TKernel3 k;
       for (std::size_t i = 0; i < 9; ++i) k[i] = a.Int(i);
       Convolve3x3(t, k, a.Int(9), c.progress);
       return 0;
     }},
    {"HSLvar", TOpFormats::Color24, TOpArea::Selection, kHslArgs,
     [](const TOpArgs& a) { return Joined<3>("HSLvar", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       AdjustHsl(t, a.Number(0), a.Number(1), a.Number(2), c.progress);
       return 0;
     }},
    {"Contrast", TOpFormats::Color24, TOpArea::Selection, kContrastArgs,
     [](const TOpArgs& a) { return Joined<1>("Contrast", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       // The means come from the whole picture, also when a selection limits
       // the change.
       ContrastPixels(t, a.Int(0), ChannelMeans(c.picture), c.progress);
       return 0;
     }},
    {"IntensityRGBall", TOpFormats::Color24, TOpArea::Selection, kRgbArgs,
     [](const TOpArgs& a) { return Joined<3>("IntensityRGBall", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       AddToChannels(t, a.Int(0), a.Int(1), a.Int(2), c.progress);
       return 0;
     }},
    {"CastColorRange", TOpFormats::Color24, TOpArea::Selection, kCastArgs, Fixed<kCast>, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       CastColorRangePixels(t, a.Color(0), a.Color(1), a.Color(2), c.progress);
       return 0;
     }},
    {"SwapColors", TOpFormats::Color24, TOpArea::Selection, kSwapArgs, Fixed<kSwap>, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       SwapColorPixels(t, a.Color(0), a.Color(1), c.progress);
       return 0;
     }},
    {"Rotate", TOpFormats::Any, TOpArea::Whole, kRotateArgs, [](const TOpArgs& a) { return Joined<1>("Rotate", a); },
     // A turn by exactly 0 leaves even the undo stack alone.
     [](const TPictureBitmap&, const TOpArgs& a) { return a.Number(0) != 0; },
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       const TColor bg = a.ColorOrNone(2) < 0 ? c.background : a.Color(2);
       return ReplaceWith(t, RotatePicture(t, a.Number(0), a.Int(1) != 0, bg, c.progress));
     }},
    {"Resample", TOpFormats::Any, TOpArea::Whole, kResampleArgs,
     [](const TOpArgs& a) { return Joined<2>("Resample", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       int w, h;
       if (!ResampleTargetSize(t.Width(), t.Height(), a.Int(0), a.Int(1), w, h)) return 0;
       return ReplaceWith(t, ResamplePicture(t, w, h, a.Filter(2), c.progress));
     }},
    {"ImageResize", TOpFormats::Any, TOpArea::Whole, kCanvasArgs,
     [](const TOpArgs& a) { return Joined<2>("ImageResize", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       return ReplaceWith(t, ResizeCanvas(t, a.Int(0), a.Int(1), TCanvasAlign(a.Int(2)), TCanvasAlign(a.Int(3)),
                                          c.background));
     }},
    {"ConvertTo", TOpFormats::Color24, TOpArea::Whole, kColorsArgs,
     [](const TOpArgs& a) { return Joined<1>("ConvertTo", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       TPictureBitmap reduced = t;
       ReduceColors(reduced, a.Int(0));
       c.progress.Finish();
       return ReplaceWith(t, std::move(reduced));
     }},
    {"ConvertToBWThreshold", TOpFormats::Color24, TOpArea::Whole, kThresholdArgs,
     [](const TOpArgs& a) { return Joined<1>("ConvertToBWThreshold", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       return ReplaceWith(t, ThresholdToMono(t, a.Int(0), c.progress));
     }},
    {"ConvertTo24Bit", TOpFormats::Mono1, TOpArea::Whole, kNoArgs, Fixed<kTo24>, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs&) -> std::int64_t {
       return ReplaceWith(t, MonoTo24Bit(t, c.progress));
     }},
    {"CountColors", TOpFormats::Any, TOpArea::SelectionBox, kNoArgs, nullptr, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs&) -> std::int64_t {
       const TPictureRect box = c.mask ? c.mask->BoundingBox() : TPictureRect{0, 0, t.Width() - 1, t.Height() - 1};
       return CountDistinctColors(t, box);
     }},
    {"ClearSel", TOpFormats::Any, TOpArea::SelectionOnly, kNoArgs, Fixed<kClear>, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs&) -> std::int64_t {
       t.Fill(c.background);
       return 0;
     }},
    {"EffectContrast", TOpFormats::Color24, TOpArea::Selection, kEffectContrastArgs,
     [](const TOpArgs& a) { return Joined<2>("EffectContrast", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       EffectContrast(t, a.Int(0), a.Int(1), c.progress);
       return 0;
     }},
    {"EffectHSV", TOpFormats::Color24, TOpArea::Selection, kEffectHsvArgs,
     [](const TOpArgs& a) { return Joined<3>("EffectHSV", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       EffectHsv(t, a.Int(0), a.Int(1), a.Int(2), c.progress);
       return 0;
     }},
    {"EffectLevels", TOpFormats::Color24, TOpArea::Selection, kEffectLevelsArgs,
     [](const TOpArgs& a) { return Joined<4>("EffectLevels", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       EffectLevels(t, a.Int(0), a.Int(1), a.Int(2), a.Int(3), c.progress);
       return 0;
     }},
    {"EffectBumpMap", TOpFormats::Color24, TOpArea::Selection, kEffectBumpArgs,
     [](const TOpArgs& a) { return Joined<2>("EffectBumpMap", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       EffectBumpMap(t, a.Int(0), a.Int(1), c.progress);
       return 0;
     }},
    {"EffectLens", TOpFormats::Color24, TOpArea::Selection, kEffectLensArgs,
     [](const TOpArgs& a) { return Joined<1>("EffectLens", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       EffectLens(t, a.Int(0), c.progress);
       return 0;
     }},
    {"EffectWave", TOpFormats::Color24, TOpArea::Selection, kEffectWaveArgs,
     [](const TOpArgs& a) { return Joined<2>("EffectWave", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       EffectWave(t, a.Int(0), a.Int(1), c.progress);
       return 0;
     }},
    {"EffectMorph", TOpFormats::Color24, TOpArea::Selection, kEffectMorphArgs,
     [](const TOpArgs& a) { return Joined<2>("EffectMorph", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       EffectMorph(t, a.Int(0), a.Int(1), c.progress);
       return 0;
     }},
    {"EffectFFT", TOpFormats::Color24, TOpArea::Selection, kEffectFftArgs,
     [](const TOpArgs& a) { return Joined<2>("EffectFFT", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       EffectFft(t, a.Int(0), a.Int(1), c.progress);
       return 0;
     }},
    {"EffectGamma", TOpFormats::Color24, TOpArea::Selection, kEffectGammaArgs,
     [](const TOpArgs& a) { return Joined<1>("EffectGamma", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       EffectGamma(t, a.Int(0), c.progress);
       return 0;
     }},
    {"EffectSharpen", TOpFormats::Color24, TOpArea::Selection, kEffectSharpenArgs,
     [](const TOpArgs& a) { return Joined<2>("EffectSharpen", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       EffectSharpen(t, a.Int(0), a.Int(1), c.progress);
       return 0;
     }},
    {"Pixelate", TOpFormats::Color24, TOpArea::Selection, kPixelateArgs,
     [](const TOpArgs& a) { return Joined<1>("Pixelate", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       PixelatePicture(t, a.Int(0), c.progress);
       return 0;
     }},
    {"Blur", TOpFormats::Color24, TOpArea::Selection, kBlurArgs,
     [](const TOpArgs& a) { return Joined<1>("Blur", a); }, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs& a) -> std::int64_t {
       GaussianBlur(t, a.Number(0), c.progress);
       return 0;
     }},
    {"CropSel", TOpFormats::Any, TOpArea::Whole, kNoArgs, Fixed<kCrop>, nullptr,
     [](TPictureBitmap& t, const TOpContext& c, const TOpArgs&) -> std::int64_t {
       if (!c.mask) return 0;  // nothing selected: the picture stays
       return ReplaceWith(t, CopyMaskedArea(t, *c.mask, c.background));
     }},
};

}  // namespace

std::span<const TOperation> Operations() { return kOperations; }

const TOperation* FindOperation(std::string_view name) {
  for (const TOperation& op : kOperations)
    if (op.name == name) return &op;
  return nullptr;
}

bool AcceptsFormat(const TOperation& op, const TPictureBitmap& picture) {
  switch (op.formats) {
    case TOpFormats::Any:
      return true;
    case TOpFormats::Color24:
      return !picture.IsMono();
    case TOpFormats::Mono1:
      return picture.IsMono();
  }
  return false;
}

}  // namespace vistrel
