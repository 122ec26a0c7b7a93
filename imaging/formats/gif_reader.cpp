// GIF reader: giflib walks the blocks, our own LZW decoder reads the image
// data. The picture is the first frame on its logical screen, with the
// extensions that the writer's parameters describe.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/formats/format_codecs.h"
#include "imaging/formats/gif_lzw_decoder.h"

namespace vistrel {
namespace {

// giflib refuses minimum code sizes above 8, which browsers take; the
// source shows it an 8 at `code_size_at` and the reader keeps the real one.
struct TGifSource {
  TByteSpan data;
  std::size_t pos = 0;
  std::size_t code_size_at = std::size_t(-1);
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int n) {
  auto* src = static_cast<TGifSource*>(gif->UserData);
  const std::size_t take = std::min<std::size_t>(std::size_t(std::max(n, 0)), src->data.size() - src->pos);
  std::memcpy(out, src->data.data() + src->pos, take);
  if (src->code_size_at >= src->pos && src->code_size_at - src->pos < take) out[src->code_size_at - src->pos] = 8;
  src->pos += take;
  return int(take);
}

// With the source at an image descriptor: the minimum code size of the
// image when it is one giflib refuses (9 to 11), else 0.
int WideCodeSize(TGifSource& src) {
  const std::size_t at = src.pos;
  if (src.data.size() - at < 10) return 0;
  const std::uint8_t packed = src.data[at + 8];
  const std::size_t table = (packed & 0x80) ? std::size_t(3) << ((packed & 7) + 1) : 0;
  if (src.data.size() - at - 9 <= table) return 0;
  const int code_size = src.data[at + 9 + table];
  if (code_size < 9 || code_size > 11) return 0;
  src.code_size_at = at + 9 + table;
  return code_size;
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int err = 0;
    DGifCloseFile(gif, &err);
  }
};

[[noreturn]] void Fail(const GifFileType* gif) {
  const char* text = GifErrorString(gif ? gif->Error : 0);
  throw FormatError(text ? text : "GIF error");
}

TRgb PaletteColor(const ColorMapObject* map, int index) {
  if (!map || index < 0 || index >= map->ColorCount) return {};
  const GifColorType& c = map->Colors[index];
  return {c.Red, c.Green, c.Blue};
}

// Comments may follow the image (our writer puts them there). Later images
// are skipped; a damaged tail only ends the search.
void ReadTrailingComments(GifFileType* gif, std::vector<std::string>& comments) {
  for (;;) {
    GifRecordType record;
    if (DGifGetRecordType(gif, &record) == GIF_ERROR || record == TERMINATE_RECORD_TYPE) return;
    if (record == IMAGE_DESC_RECORD_TYPE) {
      int code_size = 0;
      GifByteType* block = nullptr;
      auto& src = *static_cast<TGifSource*>(gif->UserData);
      WideCodeSize(src);
      const bool described = DGifGetImageDesc(gif) != GIF_ERROR;
      src.code_size_at = std::size_t(-1);
      if (!described || DGifGetCode(gif, &code_size, &block) == GIF_ERROR) return;
      while (block)
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return;
    } else if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return;
      std::string comment;
      while (block) {
        if (code == COMMENT_EXT_FUNC_CODE)
          comment.append(reinterpret_cast<const char*>(block + 1), block[0]);
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return;
      }
      if (!comment.empty()) comments.push_back(comment);
    }
  }
}

}  // namespace

namespace {

// The graphic control extension in force for the next image.
struct TGraphicControl {
  int disposal = 0;
  int transparent = -1;
  int delay = 0;
};

// The image data of the current image: its sub-blocks joined.
std::vector<std::uint8_t> ReadImageCodes(GifFileType* gif, int& code_size) {
  std::vector<std::uint8_t> codes;
  GifByteType* block = nullptr;
  if (DGifGetCode(gif, &code_size, &block) == GIF_ERROR) Fail(gif);
  while (block) {
    codes.insert(codes.end(), block + 1, block + 1 + block[0]);
    if (DGifGetCodeNext(gif, &block) == GIF_ERROR) Fail(gif);
  }
  return codes;
}

// Palette indices of the image in display row order; none for an image
// without pixels or without data.
std::vector<std::uint8_t> DecodeImage(GifFileType* gif, const GifImageDesc& desc, int wide_code_size) {
  int code_size = 0;
  const std::vector<std::uint8_t> codes = ReadImageCodes(gif, code_size);
  if (wide_code_size) code_size = wide_code_size;
  const std::size_t w = std::size_t(desc.Width), h = std::size_t(desc.Height);
  if (w == 0 || h == 0 || codes.empty()) return {};
  std::vector<std::uint8_t> decoded = DecodeGifLzw(codes, code_size, w * h);
  if (!desc.Interlace) return decoded;
  std::vector<std::uint8_t> rows(decoded.size());
  const std::size_t start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  std::size_t from = 0;
  for (int pass = 0; pass < 4; ++pass)
    for (std::size_t y = start[pass]; y < h; y += step[pass], from += w)
      std::copy_n(decoded.data() + from, w, rows.data() + y * w);
  return rows;
}

struct TRect {
  int left = 0, top = 0, width = 0, height = 0;
};

// Draws the indices of an image at `at` on the screen, clipped to it;
// `transparent` pixels and indices outside the table leave the screen as
// it is.
void DrawImage(TPictureBitmap& screen, const TRect& at, const std::vector<std::uint8_t>& indices,
               const ColorMapObject* map, int transparent) {
  for (int y = 0; y < at.height; ++y) {
    const int sy = at.top + y;
    if (sy < 0 || sy >= screen.Height()) continue;
    std::uint8_t* row = screen.Row(sy);
    for (int x = 0; x < at.width; ++x) {
      const int sx = at.left + x, i = indices[std::size_t(y) * std::size_t(at.width) + std::size_t(x)];
      if (sx < 0 || sx >= screen.Width() || i == transparent || i >= map->ColorCount) continue;
      std::uint8_t* out = row + std::size_t(sx) * 3;
      out[0] = map->Colors[i].Blue;
      out[1] = map->Colors[i].Green;
      out[2] = map->Colors[i].Red;
    }
  }
}

void FillRect(TPictureBitmap& screen, const TRect& r, TColor c) {
  for (int y = std::max(r.top, 0); y < std::min(r.top + r.height, screen.Height()); ++y)
    for (int x = std::max(r.left, 0); x < std::min(r.left + r.width, screen.Width()); ++x) screen.SetPixel(x, y, c);
}

void CopyRect(const TPictureBitmap& from, TPictureBitmap& to, const TRect& r) {
  for (int y = std::max(r.top, 0); y < std::min(r.top + r.height, to.Height()); ++y)
    for (int x = std::max(r.left, 0); x < std::min(r.left + r.width, to.Width()); ++x)
      to.SetPixel(x, y, from.Pixel(x, y));
}

// An application extension that makes the images an animation's frames.
bool IsLoopExtension(const GifByteType* block) {
  return block[0] == 11 && (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 ||
                            std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0);
}

}  // namespace

// The first frame: every image up to the first one shown for a while (a
// delay above zero), each drawn over the ones before as their disposal
// methods leave the screen. Several images of one frame are how a GIF
// shows more than 256 colours; in an animation (a loop extension, or
// an image over the whole screen) each image is a frame, whatever its
// delay, as viewers show them.
void ReadGif(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  if (data.size() < 6 || std::memcmp(data.data(), "GIF", 3) != 0) throw FormatError("Not a GIF file");
  TGifSource src{data};
  int err = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&src, ReadFromMemory, &err));
  if (!gif) throw FormatError(GifErrorString(err) ? GifErrorString(err) : "GIF error");

  TGraphicControl control;
  std::vector<std::string> comments;
  TPictureBitmap screen;
  TRect previous;          // the image drawn last and what its disposal asks
  int previous_disposal = 0;
  TPictureBitmap before;   // the screen before it, for "restore to previous"
  TColor background = kBlack;
  bool frame_done = false, ended = false, animation = false;
  while (!frame_done && !ended) {
    GifRecordType record;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) Fail(gif.get());
    if (record == TERMINATE_RECORD_TYPE) {
      if (screen.Empty()) throw FormatError("No picture in file");
      ended = true;
      continue;
    }
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) Fail(gif.get());
      std::string comment;
      bool first = true;
      while (block) {
        if (code == APPLICATION_EXT_FUNC_CODE && first && IsLoopExtension(block)) {
          animation = true;
        } else if (code == GRAPHICS_EXT_FUNC_CODE && first && block[0] >= 4) {
          control.disposal = (block[1] >> 2) & 7;
          control.transparent = (block[1] & 1) ? block[4] : -1;
          control.delay = block[2] | (block[3] << 8);
        } else if (code == COMMENT_EXT_FUNC_CODE) {
          comment.append(reinterpret_cast<const char*>(block + 1), block[0]);
        }
        first = false;
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) Fail(gif.get());
      }
      if (code == COMMENT_EXT_FUNC_CODE && !comment.empty()) comments.push_back(comment);
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) continue;

    const int wide_code_size = WideCodeSize(src);
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) Fail(gif.get());
    src.code_size_at = std::size_t(-1);
    const GifImageDesc& desc = gif->Image;
    if (desc.Width > 0 && desc.Height > 0) CheckPictureSize(desc.Width, desc.Height);
    // LZW codes stand for at most a few thousand pixels a byte: an image
    // far larger than the bytes left cannot be there.
    if (std::int64_t(desc.Width) * desc.Height / 4096 > std::int64_t(src.data.size() - src.pos))
      throw FormatError("Unexpected end of file");
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    TRect at{desc.Left, desc.Top, desc.Width, desc.Height};
    // An image over the whole screen would hide everything before it: it is
    // the next frame of an animation, delays or not.
    if (!screen.Empty() && at.left <= 0 && at.top <= 0 && std::int64_t(at.left) + at.width >= screen.Width() &&
        std::int64_t(at.top) + at.height >= screen.Height()) {
      int code_size = 0;
      ReadImageCodes(gif.get(), code_size);
      frame_done = true;
      continue;
    }
    const std::vector<std::uint8_t> indices = DecodeImage(gif.get(), desc, wide_code_size);
    if (!indices.empty() && !map) throw FormatError("GIF without a colour table");

    if (screen.Empty()) {
      // The logical screen frames the image when it is sane; otherwise the
      // image alone is the picture. The first image is drawn whole, its
      // transparent colour included, so that our own files read back as
      // they were written. Without pixels it leaves the screen empty: the
      // background, or the transparent colour.
      int screen_w = gif->SWidth, screen_h = gif->SHeight;
      if (!indices.empty() &&
          (std::int64_t(at.left) + at.width > screen_w || std::int64_t(at.top) + at.height > screen_h)) {
        screen_w = at.width;
        screen_h = at.height;
        at.left = at.top = 0;
      }
      CheckPictureSize(screen_w, screen_h);
      screen.Allocate(screen_w, screen_h);
      const TRgb bg = PaletteColor(gif->SColorMap, gif->SBackGroundColor);
      background = MakeColor(bg.r, bg.g, bg.b);
      const TRgb clear = PaletteColor(map, control.transparent);
      if (indices.empty() && control.transparent >= 0) screen.Fill(MakeColor(clear.r, clear.g, clear.b));
      else if (indices.empty() || screen_w != at.width || screen_h != at.height) screen.Fill(background);
      if (control.disposal == 3) before = screen;
      if (!indices.empty()) DrawImage(screen, at, indices, map, -1);

      params.gif_version = std::string(reinterpret_cast<const char*>(data.data()), 6);
      params.bits_per_sample = map ? std::max(map->BitsPerPixel, 1) : 1;
      params.samples_per_pixel = 1;
      params.gif_background = bg;
      params.gif_transparent = control.transparent >= 0;
      if (control.transparent >= 0) params.gif_transparent_color = clear;
      params.gif_delay = control.delay;
      params.gif_interlaced = desc.Interlace;
      params.gif_left = params.gif_top = 0;
    } else {
      // What the image before leaves behind.
      if (previous_disposal == 2) FillRect(screen, previous, background);
      if (previous_disposal == 3) CopyRect(before, screen, previous);
      if (control.disposal == 3) before = screen;
      if (!indices.empty()) DrawImage(screen, at, indices, map, control.transparent);
    }
    previous = at;
    previous_disposal = control.disposal;
    frame_done = control.delay > 0 || animation;
    control = {};
  }
  if (!ended) ReadTrailingComments(gif.get(), comments);
  params.gif_comments = comments;
  picture = std::move(screen);
}

}  // namespace vistrel
