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
void WritePng(std::FILE* file, const TPictureBitmap& picture, const TIOParams& params);

}  // namespace vistrel
