// The WMF and EMF readers of the format table: the metafile is drawn by
// the vistrel-metafile helper in a child process (decoder_child), so that a
// file which crashes or hangs the drawing libraries costs a refusal, not
// the program.
#include "imaging/formats/decoder_child.h"
#include "imaging/program_beside.h"
#include "imaging/formats/format_codecs.h"
#include "imaging/formats/metafile_size.h"

namespace vistrel {
namespace {

void ReadMetafile(const char* kind, TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  picture = DecodeInChild({ExecutableBesideProgram(kMetafileHelper), kind}, data);
  params.bits_per_sample = 8;
  params.samples_per_pixel = 3;
  params.dpi_x = params.dpi_y = int(kMetafileDpi);
}

}  // namespace

void ReadWmf(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  ReadMetafile("wmf", data, picture, params);
}

void ReadEmf(TByteSpan data, TPictureBitmap& picture, TIOParams& params) {
  ReadMetafile("emf", data, picture, params);
}

}  // namespace vistrel
