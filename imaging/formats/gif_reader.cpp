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

struct TGifSource {
  TByteSpan data;
  std::size_t pos = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int n) {
  auto* src = static_cast<TGifSource*>(gif->UserData);
  const std::size_t take = std::min<std::size_t>(std::size_t(std::max(n, 0)), src->data.size() - src->pos);
  std::memcpy(out, src->data.data() + src->pos, take);
  src->pos += take;
  return int(take);
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
      if (DGifGetImageDesc(gif) == GIF_ERROR || DGifGetCode(gif, &code_size, &block) == GIF_ERROR)
        return;
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

// Palette indices of the image in display row order.
std::vector<std::uint8_t> DecodeImage(GifFileType* gif, const GifImageDesc& desc) {
  int code_size = 0;
  const std::vector<std::uint8_t> codes = ReadImageCodes(gif, code_size);
  const std::size_t w = std::size_t(desc.Width), h = std::size_t(desc.Height);
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

}  // namespace

// The first frame: every image up to the first one shown for a while (a
// delay above zero), each drawn over the ones before as their disposal
// methods leave the screen. Several images of one frame are how a GIF
// shows more than 256 colours.
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
  bool frame_done = false, ended = false;
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
        if (code == GRAPHICS_EXT_FUNC_CODE && first && block[0] >= 4) {
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

    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) Fail(gif.get());
    const GifImageDesc& desc = gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0)
      throw FormatError("Empty GIF image (" + std::to_string(desc.Width) + " x " + std::to_string(desc.Height) + ")");
    CheckPictureSize(desc.Width, desc.Height);
    // LZW codes stand for at most a few thousand pixels a byte: an image
    // far larger than the bytes left cannot be there.
    if (std::int64_t(desc.Width) * desc.Height / 4096 > std::int64_t(src.data.size() - src.pos))
      throw FormatError("Unexpected end of file");
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map) throw FormatError("GIF without a colour table");
    TRect at{desc.Left, desc.Top, desc.Width, desc.Height};
    const std::vector<std::uint8_t> indices = DecodeImage(gif.get(), desc);

    if (screen.Empty()) {
      // The logical screen frames the image when it is sane; otherwise the
      // image alone is the picture. The first image is drawn whole, its
      // transparent colour included, so that our own files read back as
      // they were written.
      int screen_w = gif->SWidth, screen_h = gif->SHeight;
      if (std::int64_t(at.left) + at.width > screen_w || std::int64_t(at.top) + at.height > screen_h) {
        screen_w = at.width;
        screen_h = at.height;
        at.left = at.top = 0;
      }
      CheckPictureSize(screen_w, screen_h);
      screen.Allocate(screen_w, screen_h);
      const TRgb bg = PaletteColor(gif->SColorMap, gif->SBackGroundColor);
      background = MakeColor(bg.r, bg.g, bg.b);
      if (screen_w != at.width || screen_h != at.height) screen.Fill(background);
      if (control.disposal == 3) before = screen;
      DrawImage(screen, at, indices, map, -1);

      params.gif_version = std::string(reinterpret_cast<const char*>(data.data()), 6);
      params.bits_per_sample = std::max(map->BitsPerPixel, 1);
      params.samples_per_pixel = 1;
      params.gif_background = bg;
      params.gif_transparent = control.transparent >= 0;
      if (control.transparent >= 0) params.gif_transparent_color = PaletteColor(map, control.transparent);
      params.gif_delay = control.delay;
      params.gif_interlaced = desc.Interlace;
      params.gif_left = params.gif_top = 0;
    } else {
      // What the image before leaves behind.
      if (previous_disposal == 2) FillRect(screen, previous, background);
      if (previous_disposal == 3) CopyRect(before, screen, previous);
      if (control.disposal == 3) before = screen;
      DrawImage(screen, at, indices, map, control.transparent);
    }
    previous = at;
    previous_disposal = control.disposal;
    frame_done = control.delay > 0;
    control = {};
  }
  if (!ended) ReadTrailingComments(gif.get(), comments);
  params.gif_comments = comments;
  picture = std::move(screen);
}

}  // namespace vistrel
