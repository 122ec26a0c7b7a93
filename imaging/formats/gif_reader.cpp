// GIF reader through giflib: the first image on its logical screen, with
// the extensions that the writer's parameters describe.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "imaging/formats/format_codecs.h"

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

void ReadGif(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  if (data.size() < 6 || std::memcmp(data.data(), "GIF", 3) != 0) throw FormatError("Not a GIF file");
  TGifSource src{data};
  int err = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&src, ReadFromMemory, &err));
  if (!gif) throw FormatError(GifErrorString(err) ? GifErrorString(err) : "GIF error");

  int transparent = -1;
  int delay = 0;
  std::vector<std::string> comments;
  for (;;) {
    GifRecordType record;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) Fail(gif.get());
    if (record == TERMINATE_RECORD_TYPE) throw FormatError("No picture in file");
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) Fail(gif.get());
      std::string comment;
      bool first = true;
      while (block) {
        if (code == GRAPHICS_EXT_FUNC_CODE && first && block[0] >= 4) {
          transparent = (block[1] & 1) ? block[4] : -1;
          delay = block[2] | (block[3] << 8);
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
    CheckPictureSize(desc.Width, desc.Height);
    // LZW codes stand for at most a few thousand pixels a byte: a frame
    // far larger than the bytes left cannot be there.
    if (std::int64_t(desc.Width) * desc.Height / 4096 > std::int64_t(src.data.size() - src.pos))
      throw FormatError("Unexpected end of file");
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map) throw FormatError("GIF without a colour table");

    // The logical screen frames the image when it is sane; otherwise the
    // image alone is the picture.
    int screen_w = gif->SWidth, screen_h = gif->SHeight;
    int left = desc.Left, top = desc.Top;
    if (std::int64_t(left) + desc.Width > screen_w || std::int64_t(top) + desc.Height > screen_h) {
      screen_w = desc.Width;
      screen_h = desc.Height;
      left = top = 0;
    }
    TPictureBitmap result(screen_w, screen_h);
    const TRgb bg = PaletteColor(gif->SColorMap, gif->SBackGroundColor);
    if (screen_w != desc.Width || screen_h != desc.Height) result.Fill(MakeColor(bg.r, bg.g, bg.b));

    std::vector<GifPixelType> line(std::size_t(desc.Width));
    std::vector<int> rows;
    if (desc.Interlace) {
      const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < desc.Height; y += step[pass]) rows.push_back(y);
    } else {
      for (int y = 0; y < desc.Height; ++y) rows.push_back(y);
    }
    for (int y : rows) {
      if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) Fail(gif.get());
      std::uint8_t* out = result.Row(top + y) + std::size_t(left) * 3;
      for (int x = 0; x < desc.Width; ++x, out += 3) {
        const int i = line[x];
        if (i >= map->ColorCount) continue;  // outside the table: leave the background
        out[0] = map->Colors[i].Blue;
        out[1] = map->Colors[i].Green;
        out[2] = map->Colors[i].Red;
      }
    }

    params.gif_version = std::string(reinterpret_cast<const char*>(data.data()), 6);
    params.bits_per_sample = std::max(map->BitsPerPixel, 1);
    params.samples_per_pixel = 1;
    params.gif_background = bg;
    params.gif_transparent = transparent >= 0;
    if (transparent >= 0) params.gif_transparent_color = PaletteColor(map, transparent);
    params.gif_delay = delay;
    params.gif_interlaced = desc.Interlace;
    params.gif_left = params.gif_top = 0;
    ReadTrailingComments(gif.get(), comments);
    params.gif_comments = comments;
    picture = std::move(result);
    return;
  }
}

}  // namespace vistrel
