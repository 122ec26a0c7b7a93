// Writer parameters by name, for vistrel-convert --set NAME=VALUE.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "imaging/formats/color_layout.h"
#include "imaging/formats/picture_file.h"

namespace vistrel {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return out;
}

std::optional<int> IntIn(std::string_view v, int lo, int hi) {
  int n = 0;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc() || end != v.data() + v.size() || n < lo || n > hi) return std::nullopt;
  return n;
}

std::optional<bool> Flag(std::string_view v) {
  const std::string s = Lower(v);
  if (s == "1" || s == "on" || s == "true" || s == "yes") return true;
  if (s == "0" || s == "off" || s == "false" || s == "no") return false;
  return std::nullopt;
}

// RRGGBB in hexadecimal.
std::optional<TRgb> Colour(std::string_view v) {
  if (v.size() != 6) return std::nullopt;
  unsigned n = 0;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + 6, n, 16);
  if (ec != std::errc() || end != v.data() + 6) return std::nullopt;
  return TRgb{std::uint8_t(n >> 16), std::uint8_t(n >> 8), std::uint8_t(n)};
}

template <typename E>
std::optional<E> Choice(std::string_view v, std::initializer_list<std::pair<const char*, E>> names) {
  const std::string s = Lower(v);
  for (const auto& [name, value] : names)
    if (s == name) return value;
  return std::nullopt;
}

// A JPEG 2000 rate: a plain number above 0, at most 1000.
std::optional<double> Rate(std::string_view v) {
  double d = 0;
  const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), d);
  if (ec != std::errc() || end != v.data() + v.size() || !(d > 0) || d > 1000) return std::nullopt;
  return d;
}

// Takes JasPer-style option text: "rate=R" and "prg=lrcp|rlcp", blank separated.
bool J2kOptions(TIOParams& p, std::string_view text) {
  TIOParams edited = p;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find(' ', pos), text.size());
    const std::string_view item = text.substr(pos, end - pos);
    pos = end + 1;
    if (item.empty()) continue;
    if (item.starts_with("rate=")) {
      const auto r = Rate(item.substr(5));
      if (!r) return false;
      edited.j2k_rate = *r;
    } else if (item.starts_with("prg=")) {
      const auto g = Choice<TJ2kProgression>(
          item.substr(4), {{"lrcp", TJ2kProgression::Lrcp}, {"rlcp", TJ2kProgression::Rlcp}});
      if (!g) return false;
      edited.j2k_progression = *g;
    } else {
      return false;
    }
  }
  p = edited;
  return true;
}

// "64x64x8,32x32x4": up to 16 icon images.
bool IcoImages(TIOParams& p, std::string_view text) {
  std::vector<TIcoImage> images;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = std::min(text.find(',', pos), text.size());
    const std::string item = Lower(text.substr(pos, end - pos));
    pos = end + 1;
    const std::size_t x1 = item.find('x'), x2 = item.find('x', x1 + 1);
    if (x1 == std::string::npos || x2 == std::string::npos) return false;
    const auto w = IntIn(std::string_view(item).substr(0, x1), 1, 256);
    const auto h = IntIn(std::string_view(item).substr(x1 + 1, x2 - x1 - 1), 1, 256);
    const auto b = IntIn(std::string_view(item).substr(x2 + 1), 1, 24);
    if (!w || !h || !b || (*b != 1 && *b != 4 && *b != 8 && *b != 24)) return false;
    images.push_back({*w, *h, *b});
    if (end == text.size()) break;
  }
  if (images.empty() || int(images.size()) > TIOParams::kMaxIcoImages) return false;
  p.ico_images = images;
  return true;
}

struct TParameter {
  const char* name;
  const char* help;
  std::function<bool(TIOParams&, std::string_view)> set;
};

template <typename T, typename Parse>
auto Setter(T TIOParams::*field, Parse parse) {
  return [field, parse](TIOParams& p, std::string_view v) {
    const auto parsed = parse(v);
    if (!parsed) return false;
    p.*field = *parsed;
    return true;
  };
}

auto Range(int lo, int hi) {
  return [lo, hi](std::string_view v) { return IntIn(v, lo, hi); };
}

auto Text() {
  return [](std::string_view v) { return std::optional<std::string>(v); };
}

const std::vector<TParameter>& Parameters() {
  static const std::vector<TParameter> table = {
      {"bits-per-sample", "1|2|4|8  bits per sample (1 = black and white)",
       Setter(&TIOParams::bits_per_sample,
              [](std::string_view v) -> std::optional<int> {
                const auto n = IntIn(v, 1, 8);
                if (n && (*n == 1 || *n == 2 || *n == 4 || *n == 8)) return n;
                return std::nullopt;
              })},
      {"samples-per-pixel", "1|3  palette or grey (1), RGB (3)",
       Setter(&TIOParams::samples_per_pixel,
              [](std::string_view v) -> std::optional<int> {
                const auto n = IntIn(v, 1, 3);
                if (n && *n != 2) return n;
                return std::nullopt;
              })},
      {"colors", "2..16777216  colour count as the options dialog offers it (sets both above)",
       [](TIOParams& p, std::string_view v) {
         long n = 0;
         const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
         if (ec != std::errc() || end != v.data() + v.size() || n < 2 || n > 16777216) return false;
         SetColorCount(p, n);
         return true;
       }},
      {"dpi", "1..100000  horizontal and vertical resolution",
       [](TIOParams& p, std::string_view v) {
         const auto n = IntIn(v, 1, 100000);
         if (!n) return false;
         p.dpi_x = p.dpi_y = *n;
         return true;
       }},
      {"gif-version", "GIF89a|GIF87a",
       [](TIOParams& p, std::string_view v) {
         const std::string s = Lower(v);
         if (s == "gif89a" || s == "89a") p.gif_version = "GIF89a";
         else if (s == "gif87a" || s == "87a") p.gif_version = "GIF87a";
         else return false;
         return true;
       }},
      {"gif-transparent", "0|1  transparent colour on or off", Setter(&TIOParams::gif_transparent, Flag)},
      {"gif-transparent-color", "RRGGBB", Setter(&TIOParams::gif_transparent_color, Colour)},
      {"gif-background", "RRGGBB", Setter(&TIOParams::gif_background, Colour)},
      {"gif-interlaced", "0|1", Setter(&TIOParams::gif_interlaced, Flag)},
      {"gif-delay", "0..65535  hundredths of a second", Setter(&TIOParams::gif_delay, Range(0, 65535))},
      {"gif-left", "0..65535", Setter(&TIOParams::gif_left, Range(0, 65535))},
      {"gif-top", "0..65535", Setter(&TIOParams::gif_top, Range(0, 65535))},
      {"gif-comment", "TEXT  adds a comment (at most 255 bytes)",
       [](TIOParams& p, std::string_view v) {
         if (v.size() > 255) return false;
         p.gif_comments.emplace_back(v);
         return true;
       }},
      {"jpeg-quality", "0..100", Setter(&TIOParams::jpeg_quality, Range(0, 100))},
      {"jpeg-smoothing", "0..100", Setter(&TIOParams::jpeg_smoothing, Range(0, 100))},
      {"jpeg-optimal", "0|1  optimal Huffman coding", Setter(&TIOParams::jpeg_optimal, Flag)},
      {"jpeg-progressive", "0|1", Setter(&TIOParams::jpeg_progressive, Flag)},
      {"jpeg-dct", "islow|ifast|float",
       Setter(&TIOParams::jpeg_dct_method,
              [](std::string_view v) {
                return Choice<TJpegDctMethod>(v, {{"islow", TJpegDctMethod::ISlow},
                                                  {"ifast", TJpegDctMethod::IFast},
                                                  {"float", TJpegDctMethod::Float}});
              })},
      {"jpeg-colorspace", "ycbcr|rgb|gray",
       Setter(&TIOParams::jpeg_color_space,
              [](std::string_view v) {
                return Choice<TJpegColorSpace>(v, {{"ycbcr", TJpegColorSpace::YCbCr},
                                                   {"rgb", TJpegColorSpace::Rgb},
                                                   {"gray", TJpegColorSpace::Gray}});
              })},
      {"png-compression", "0..9  zlib level", Setter(&TIOParams::png_compression, Range(0, 9))},
      {"png-filter", "none|sub|up|average|paeth",
       Setter(&TIOParams::png_filter,
              [](std::string_view v) {
                return Choice<TPngFilter>(v, {{"none", TPngFilter::None},
                                              {"sub", TPngFilter::Sub},
                                              {"up", TPngFilter::Up},
                                              {"average", TPngFilter::Average},
                                              {"paeth", TPngFilter::Paeth}});
              })},
      {"png-interlaced", "0|1  Adam7", Setter(&TIOParams::png_interlaced, Flag)},
      {"png-background", "RRGGBB", Setter(&TIOParams::png_background, Colour)},
      {"tiff-compression",
       "none|ccitt1d|g3fax1d|g3fax2d|g4fax|lzw|jpeg|packbits, or the tag 1|2|3|4|5|7|32773",
       Setter(&TIOParams::tiff_compression,
              [](std::string_view v) {
                return Choice<TTiffCompression>(
                    v, {{"none", TTiffCompression::None},     {"uncompressed", TTiffCompression::None},
                        {"1", TTiffCompression::None},        {"ccitt1d", TTiffCompression::Ccitt1D},
                        {"2", TTiffCompression::Ccitt1D},     {"g3fax1d", TTiffCompression::G3Fax1D},
                        {"3", TTiffCompression::G3Fax1D},     {"g3fax2d", TTiffCompression::G3Fax2D},
                        {"g4fax", TTiffCompression::G4Fax},   {"4", TTiffCompression::G4Fax},
                        {"lzw", TTiffCompression::Lzw},       {"5", TTiffCompression::Lzw},
                        {"jpeg", TTiffCompression::Jpeg},     {"7", TTiffCompression::Jpeg},
                        {"packbits", TTiffCompression::PackBits},
                        {"32773", TTiffCompression::PackBits}});
              })},
      {"bmp-compression", "none|rle  (run-length for 4 and 8 bits only)",
       Setter(&TIOParams::bmp_rle,
              [](std::string_view v) { return Choice<bool>(v, {{"none", false}, {"rle", true}}); })},
      {"bmp-header", "windows|os2",
       Setter(&TIOParams::bmp_header,
              [](std::string_view v) {
                return Choice<TBmpHeader>(v, {{"windows", TBmpHeader::Windows}, {"os2", TBmpHeader::Os2}});
              })},
      {"pcx-compression", "none|rle",
       Setter(&TIOParams::pcx_rle,
              [](std::string_view v) { return Choice<bool>(v, {{"none", false}, {"rle", true}}); })},
      {"pcx-version", "0..5", Setter(&TIOParams::pcx_version, Range(0, 5))},
      {"jp2-rate", "R  1 or more is lossless, below 1 a compression ratio of 1/R",
       Setter(&TIOParams::j2k_rate, Rate)},
      {"jp2-progression", "lrcp|rlcp",
       Setter(&TIOParams::j2k_progression,
              [](std::string_view v) {
                return Choice<TJ2kProgression>(v, {{"lrcp", TJ2kProgression::Lrcp},
                                                   {"rlcp", TJ2kProgression::Rlcp}});
              })},
      {"jp2-options", "\"rate=R prg=lrcp|rlcp\"  both of the above as one text", J2kOptions},
      {"ico-images", "WxHxBITS[,...]  up to 16 images, BITS 1|4|8|24", IcoImages},
      {"pdf-compression", "0..4  none, run-length, CCITT group 4, group 3, JPEG",
       Setter(&TIOParams::pdf_compression, Range(0, 4))},
      {"pdf-page-width", "1..14400  points", Setter(&TIOParams::pdf_page_width, Range(1, 14400))},
      {"pdf-page-height", "1..14400  points", Setter(&TIOParams::pdf_page_height, Range(1, 14400))},
      {"pdf-title", "TEXT", Setter(&TIOParams::pdf_title, Text())},
      {"pdf-author", "TEXT", Setter(&TIOParams::pdf_author, Text())},
      {"pdf-subject", "TEXT", Setter(&TIOParams::pdf_subject, Text())},
      {"pdf-keywords", "TEXT", Setter(&TIOParams::pdf_keywords, Text())},
      {"pdf-creator", "TEXT", Setter(&TIOParams::pdf_creator, Text())},
      {"pdf-producer", "TEXT", Setter(&TIOParams::pdf_producer, Text())},
  };
  return table;
}

}  // namespace

bool SetWriterParameter(TIOParams& params, std::string_view name, std::string_view value) {
  const std::string key = Lower(name);
  for (const TParameter& p : Parameters())
    if (key == p.name) {
      if (!p.set(params, value)) return false;
      NoteColorChoice(params, key);
      return true;
    }
  return false;
}

std::string WriterParameterHelp() {
  std::string text;
  for (const TParameter& p : Parameters()) {
    std::string line = p.name;
    line.resize(std::max<std::size_t>(line.size() + 2, 24), ' ');
    text += line + p.help + "\n";
  }
  return text;
}

}  // namespace vistrel
