// The readers and writers behind LoadPictureFile and SavePictureFile, one
// pair per format. A reader fills a fresh picture and the parameters the
// file tells; a writer writes the picture to an open file.
#pragma once

#include <cstdio>

#include "imaging/formats/format_support.h"
#include "imaging/formats/io_params.h"

namespace vistrel {

using TPictureReader = void (*)(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
using TPictureWriter = void (*)(std::FILE* file, const TPictureBitmap& picture,
                                const TIOParams& params);

void ReadPng(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadJpeg(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadGif(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadBmp(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadTiff(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadPcx(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadDcx(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadIco(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadCur(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadJpeg2000(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadTarga(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadPortableMap(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadWbmp(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadWmf(TByteSpan data, TPictureBitmap& picture, TIOParams& params);
void ReadEmf(TByteSpan data, TPictureBitmap& picture, TIOParams& params);

void WritePng(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteJpeg(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteGif(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteBmp(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteTiff(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WritePcx(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteDcx(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteIco(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteJp2(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteJ2k(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteTarga(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WritePbm(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WritePgm(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WritePpm(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WritePxm(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteWbmp(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WritePostScript(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WriteEps(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);
void WritePdf(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);

}  // namespace vistrel
