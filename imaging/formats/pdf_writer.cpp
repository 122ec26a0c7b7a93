// One-page PDF 1.4 holding the picture as an image at the top left of the
// page, scaled to fit. Black-and-white pictures are CCITT coded by default.
#include <algorithm>
#include <cmath>
#include <ctime>

#include "imaging/formats/ccitt_encoder.h"
#include "imaging/formats/color_layout.h"
#include "imaging/formats/format_codecs.h"
#include "imaging/formats/jpeg_encoder.h"
#include "imaging/formats/pixel_packing.h"

namespace vistrel {
namespace {

// The code points of UTF-8 text; a malformed sequence gives U+FFFD.
std::vector<char32_t> DecodeUtf8(const std::string& text) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    const int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    char32_t c = extra == 0 ? b : extra == 1 ? b & 0x1F : extra == 2 ? b & 0x0F : b & 0x07;
    bool ok = extra >= 0 && i + std::size_t(extra) < text.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const unsigned char n = static_cast<unsigned char>(text[i + std::size_t(k)]);
      ok = (n & 0xC0) == 0x80;
      c = (c << 6) | (n & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    ok = ok && c >= kSmallest[extra] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    out.push_back(ok ? c : 0xFFFD);
    i += ok ? std::size_t(extra) + 1 : 1;
  }
  return out;
}

// A PDF text string: ASCII as it is, anything else as UTF-16BE after its
// byte-order mark, as PDF readers expect.
std::string PdfString(const std::string& text) {
  std::string bytes = text;
  if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
    bytes = "\xFE\xFF";
    for (char32_t c : DecodeUtf8(text)) {
      auto unit = [&bytes](char32_t u) {
        bytes += char(u >> 8);
        bytes += char(u & 0xFF);
      };
      if (c >= 0x10000) {
        unit(0xD800 + ((c - 0x10000) >> 10));
        unit(0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        unit(c);
      }
    }
  }
  std::string out = "(";
  for (char c : bytes) {
    if (c == '(' || c == ')' || c == '\\') out += '\\';
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out + ")";
}

std::string Ref(int n) { return std::to_string(n) + " 0 R"; }

// "<< /Key value" lines and ">>".
std::string Dictionary(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string out = "<< ";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) out += "\n";
    out += "/" + entries[i].first + " " + entries[i].second;
  }
  return out + "\n>>";
}

// PackBits-style run-length data with the end-of-data byte 128.
std::vector<std::uint8_t> RunLengthEncode(const std::vector<std::uint8_t>& in) {
  std::vector<std::uint8_t> out;
  std::size_t i = 0;
  while (i < in.size()) {
    std::size_t run = 1;
    while (i + run < in.size() && run < 128 && in[i + run] == in[i]) ++run;
    if (run >= 2) {
      out.push_back(std::uint8_t(257 - run));
      out.push_back(in[i]);
      i += run;
      continue;
    }
    std::size_t len = 1;
    while (i + len < in.size() && len < 128 && !(i + len + 1 < in.size() && in[i + len] == in[i + len + 1])) ++len;
    out.push_back(std::uint8_t(len - 1));
    out.insert(out.end(), in.begin() + long(i), in.begin() + long(i + len));
    i += len;
  }
  out.push_back(128);
  return out;
}

std::string LocalTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &tm);
  return text;
}

class TPdfBuilder {
 public:
  TPdfBuilder() {
    out_.Append("%PDF-1.4\n%");
    out_.Append(std::string_view("\xC8\xD2\xF0\xFE\n", 5));
  }
  void Object(const std::string& body) {
    offsets_.push_back(out_.Size());
    out_.Append(std::to_string(offsets_.size()) + " 0 obj\n" + body + "\nendobj\n");
  }
  void Stream(std::vector<std::pair<std::string, std::string>> dict, TByteSpan bytes) {
    offsets_.push_back(out_.Size());
    dict.emplace_back("Length", std::to_string(bytes.size()));
    out_.Append(std::to_string(offsets_.size()) + " 0 obj\n" + Dictionary(dict) + "\nstream\n");
    out_.Append(bytes);
    out_.Append("\nendstream\nendobj\n");
  }
  std::vector<std::uint8_t>& Finish(int root, int info) {
    const std::size_t xref = out_.Size();
    const std::size_t count = offsets_.size() + 1;
    out_.Append("xref\n0 " + std::to_string(count) + "\n0000000000 65535 f \n");
    for (std::size_t off : offsets_) {
      char line[32];
      std::snprintf(line, sizeof line, "%010zu 00000 n \n", off);
      out_.Append(line);
    }
    out_.Append("trailer\n<< /Size " + std::to_string(count) + "\n/Root " + Ref(root) + "\n/Info " +
                Ref(info) + "\n>>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n");
    return out_.Bytes();
  }

 private:
  TByteWriter out_;
  std::vector<std::size_t> offsets_;
};

}  // namespace

void WritePdf(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params) {
  const int pw = std::max(params.pdf_page_width, 1), ph = std::max(params.pdf_page_height, 1);
  const int w = picture.Width(), h = picture.Height();
  // A 1-bit picture always takes the black-and-white path, whatever depth
  // the parameters still name; a colour one only when they ask for 1 bit
  // (and not merely because the file it came from had 1 bit).
  constexpr TWriterColors kPdfColors{true, false, 0, true};
  const bool bw = picture.IsMono() ||
                  DecideColors(picture, DepthRequest(params), kPdfColors).layout == TColorLayout::BlackWhite;

  std::vector<std::pair<std::string, std::string>> image = {
      {"Type", "/XObject"}, {"Subtype", "/Image"}, {"Width", std::to_string(w)}, {"Height", std::to_string(h)}};
  std::vector<std::uint8_t> data;
  if (bw) {
    TPictureBitmap storage;
    const TPictureBitmap& mono = ToMonoByIntensity(picture, storage);
    image.emplace_back("ColorSpace", "/DeviceGray");
    image.emplace_back("BitsPerComponent", "1");
    const int compression = params.pdf_compression == kPdfJpeg ? kPdfCcittG4 : params.pdf_compression;
    if (compression == kPdfCcittG4 || compression == kPdfCcittG3) {
      data = compression == kPdfCcittG4 ? EncodeCcittGroup4(mono) : EncodeCcittGroup3Mixed(mono);
      image.emplace_back("Filter", "/CCITTFaxDecode");
      image.emplace_back("DecodeParms", "<< /K " + std::string(compression == kPdfCcittG4 ? "-1" : "1") +
                                            " /BlackIs1 true /Columns " + std::to_string(w) + " /Rows " +
                                            std::to_string(h) +
                                            " /EndOfLine false /Uncompressed true /EncodedByteAlign false"
                                            " /EndOfBlock false >>");
    } else {
      const std::size_t row_bytes = (std::size_t(w) + 7) / 8;
      data.reserve(row_bytes * std::size_t(h));
      for (int y = 0; y < h; ++y) data.insert(data.end(), mono.Row(y), mono.Row(y) + row_bytes);
      if (compression == kPdfRunLength) {
        data = RunLengthEncode(data);
        image.emplace_back("Filter", "[/RunLengthDecode]");
      }
    }
  } else {
    image.emplace_back("ColorSpace", "/DeviceRGB");
    image.emplace_back("BitsPerComponent", "8");
    if (params.pdf_compression == kPdfJpeg) {
      TIOParams jpeg = params;
      jpeg.jpeg_markers.clear();
      jpeg.jpeg_color_space = TJpegColorSpace::YCbCr;  // the image says DeviceRGB
      data = EncodeJpeg(picture, jpeg);
      image.emplace_back("Filter", "/DCTDecode");
    } else {
      data.resize(std::size_t(w) * 3 * std::size_t(h));
      std::uint8_t* out = data.data();
      for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = picture.Row(y);
        for (int x = 0; x < w; ++x, out += 3, src += 3) {
          out[0] = src[2];
          out[1] = src[1];
          out[2] = src[0];
        }
      }
    }
  }

  const double s = std::min(double(ph) / h, double(pw) / w);
  const long sw = std::max(1L, std::lround(w * s)), sh = std::max(1L, std::lround(h * s));
  const std::string content = "q\n" + std::to_string(sw) + " 0 0 " + std::to_string(sh) + " 0 " +
                              std::to_string(ph - sh) + " cm\n/lm1 Do\nQ";

  // Objects: 1 catalog, 2 resources, 3 image, 4 content, 5 page, 6 pages, 7 information.
  TPdfBuilder pdf;
  pdf.Object(Dictionary({{"Type", "/Catalog"}, {"Pages", Ref(6)}}));
  pdf.Object(Dictionary({{"ProcSet", "[/PDF /ImageB]"}, {"XObject", "<< /lm1 " + Ref(3) + " >>"}}));
  pdf.Stream(image, data);
  pdf.Stream({}, TByteSpan(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
  pdf.Object(Dictionary({{"Type", "/Page"},
                         {"Parent", Ref(6)},
                         {"Resources", Ref(2)},
                         {"MediaBox", "[0 0 " + std::to_string(pw) + " " + std::to_string(ph) + "]"},
                         {"Contents", Ref(4)}}));
  pdf.Object(Dictionary({{"Type", "/Pages"}, {"Kids", "[" + Ref(5) + "]"}, {"Count", "1"}}));
  std::vector<std::pair<std::string, std::string>> info;
  const std::pair<const char*, const std::string*> texts[] = {
      {"Title", &params.pdf_title},     {"Author", &params.pdf_author},   {"Subject", &params.pdf_subject},
      {"Keywords", &params.pdf_keywords}, {"Creator", &params.pdf_creator}, {"Producer", &params.pdf_producer}};
  for (const auto& [key, value] : texts)
    if (!value->empty()) info.emplace_back(key, PdfString(*value));
  info.emplace_back("CreationDate", PdfString("D:" + LocalTimeStamp()));
  pdf.Object(Dictionary(info));
  WriteAll(file, pdf.Finish(1, 7));
}

}  // namespace vistrel
