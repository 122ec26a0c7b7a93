// An edited picture that the end of the session would lose (SIGTERM,
// SIGHUP) is written as PNG into the automatic save folder under the next
// free "Unsaved-0001.png" name, readable by the user alone where others may
// list the folder. Its path is remembered in "recovered-pictures" beside the
// settings file (the runtime folder does not outlive the session), and the
// next start takes the list to name the files in one notice.
#pragma once

#include <string>
#include <vector>

#include "imaging/picture_bitmap.h"

namespace vistrel {

// Writes the picture and remembers its path; the path, or empty when the
// picture could not be written (`error` says why).
std::string SaveUnsavedPicture(const TPictureBitmap& picture, const std::string& folder,
                               std::string& error);

// The remembered paths, oldest first; the list is emptied.
std::vector<std::string> TakeRecoveredPictures();

// The notice's text for the next start.
std::string RecoveredPicturesNotice(const std::vector<std::string>& paths);

}  // namespace vistrel
