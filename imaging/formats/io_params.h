// The parameter set of picture files: what the last reader found in its file
// and how the writers write. Readers overwrite the fields their file tells;
// writers read them. Reset() gives the writers' own defaults.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vistrel {

enum class TFileType {
  None, Jpeg, Jpeg2000, J2kCodeStream, Gif, Tiff, Pcx, Dcx, Png, Bmp,
  Wmf, Emf, Ico, Cur, Targa, PortableMap, Wbmp, PostScript, Pdf
};

// Plain red, green, blue bytes, as the writers receive colours.
struct TRgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const TRgb&) const = default;
};

enum class TJpegColorSpace { YCbCr, Rgb, Gray };
enum class TJpegDctMethod { ISlow, IFast, Float };  // "ISLOW", "IFAST", "FLOAT"

// TIFF compressions as the save options dialog lists them.
enum class TTiffCompression { None, Ccitt1D, G3Fax1D, G3Fax2D, G4Fax, Lzw, Jpeg, PackBits };
enum class TTiffPhotometric { WhiteIsZero, BlackIsZero, Rgb, Palette, YCbCr, Separated, Other };

enum class TBmpHeader { Windows, Os2 };
enum class TPngFilter { None, Sub, Up, Average, Paeth };
enum class TJ2kProgression { Lrcp, Rlcp };
enum class TJ2kColorSpace { Gray, Rgb, YCbCr };

// PDF compression codes.
enum : int {
  kPdfNone = 0, kPdfRunLength = 1, kPdfCcittG4 = 2, kPdfCcittG3 = 3, kPdfJpeg = 4
};

struct TIcoImage {
  int width = 64;
  int height = 64;
  int bits = 8;  // 1, 4, 8 or 24
  bool operator==(const TIcoImage&) const = default;
};

// One application marker of a loaded JPEG (APPn or COM), written back on save.
struct TJpegMarker {
  int code = 0;  // 0xE0..0xEF or 0xFE
  std::vector<std::uint8_t> data;
  bool operator==(const TJpegMarker&) const = default;
};

// The colour parameters as the last file read gave them. A field stays set
// only while nobody chose another value on purpose; the writers keep a
// picture's colours rather than drop them for a layout that merely came
// from the file.
struct TFileColors {
  std::optional<std::pair<int, int>> depth;  // bits per sample, samples per pixel
  std::optional<TJpegColorSpace> jpeg;
  std::optional<TJ2kColorSpace> j2k;
  bool operator==(const TFileColors&) const = default;
};

struct TIOParams {
  // Resolution given to the parameter set by Reset(); the program sets it
  // from the screen it runs on.
  static constexpr int kDefaultScreenDpi = 96;
  static constexpr int kMaxIcoImages = 16;

  std::string file_name;
  TFileType file_type = TFileType::None;

  // Size of the last picture read or written (information only).
  int width = 0;
  int height = 0;
  int bits_per_sample = 8;
  int samples_per_pixel = 3;
  int dpi_x = kDefaultScreenDpi;
  int dpi_y = kDefaultScreenDpi;

  std::string gif_version = "GIF89a";
  bool gif_transparent = false;
  TRgb gif_transparent_color;
  TRgb gif_background;
  int gif_left = 0;
  int gif_top = 0;
  int gif_delay = 0;  // hundredths of a second
  bool gif_interlaced = false;
  std::vector<std::string> gif_comments;

  TJpegColorSpace jpeg_color_space = TJpegColorSpace::YCbCr;
  int jpeg_quality = 80;
  TJpegDctMethod jpeg_dct_method = TJpegDctMethod::ISlow;
  bool jpeg_optimal = false;
  int jpeg_smoothing = 0;
  bool jpeg_progressive = false;
  std::vector<TJpegMarker> jpeg_markers;

  TTiffCompression tiff_compression = TTiffCompression::None;
  TTiffPhotometric tiff_photometric = TTiffPhotometric::Rgb;

  TBmpHeader bmp_header = TBmpHeader::Windows;
  bool bmp_rle = false;

  int pcx_version = 5;
  bool pcx_rle = true;

  bool png_interlaced = false;
  TRgb png_background;
  TPngFilter png_filter = TPngFilter::None;
  int png_compression = 5;

  double j2k_rate = 1.0;
  TJ2kProgression j2k_progression = TJ2kProgression::Lrcp;
  TJ2kColorSpace j2k_color_space = TJ2kColorSpace::Rgb;

  std::vector<TIcoImage> ico_images{TIcoImage{}};

  int pdf_page_width = 595;
  int pdf_page_height = 842;
  std::string pdf_title = "No Title";
  std::string pdf_author;
  std::string pdf_subject;
  std::string pdf_keywords;
  std::string pdf_creator;
  std::string pdf_producer;
  int pdf_compression = kPdfCcittG4;

  TFileColors file_colors;

  // Every field back to its default; the resolution becomes `screen_dpi`.
  void Reset(int screen_dpi = kDefaultScreenDpi);

  bool operator==(const TIOParams&) const = default;
};

// Bits per sample and samples per pixel for a colour count of the save
// options dialog ("B/W" = 2, 16, 256, 65536, 16777216).
void SetColorCount(TIOParams& params, long colors);

}  // namespace vistrel
