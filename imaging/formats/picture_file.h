// Loading and saving pictures by the file name's extension.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "imaging/formats/io_params.h"
#include "imaging/picture_bitmap.h"

namespace vistrel {

// A file that cannot be read or written; the message names the path.
class PictureFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the file with the reader of its lower-cased extension. The picture
// becomes 24-bit, or 1-bit for black-and-white files; `params` takes what
// the file tells. A failed load raises PictureFileError and leaves `picture`
// (and `params`) unchanged.
void LoadPictureFile(const std::string& path, TPictureBitmap& picture, TIOParams& params);

// Who may read a new file: as the user's file-creation mask says, or, for
// pictures written unattended, only the user where the folder is one that
// other users may list.
enum class TSaveAccess { kAsUmask, kPrivateWhereShared };

// Writes the whole picture with the writer of the lower-cased extension.
// The file appears under its name only when complete; a file it replaces
// keeps its permissions. Raises PictureFileError for an unknown extension,
// a picture the format cannot hold or a file that cannot be created.
void SavePictureFile(const std::string& path, const TPictureBitmap& picture,
                     const TIOParams& params, TSaveAccess access = TSaveAccess::kAsUmask);

// True when the lower-cased extension of `path` has a reader or a writer.
bool CanLoadPictureFile(const std::string& path);
bool CanSavePictureFile(const std::string& path);

// Sets one writer parameter by name, e.g. ("jpeg-quality", "90"). Returns
// false for an unknown name or a value out of range, leaving `params` as it
// was.
bool SetWriterParameter(TIOParams& params, std::string_view name, std::string_view value);

// One line per parameter name: "name=VALUES  what it sets".
std::string WriterParameterHelp();

}  // namespace vistrel
