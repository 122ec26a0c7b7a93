#include "output/unsaved_recovery.h"

#include <filesystem>
#include <fstream>

#include "imaging/formats/io_params.h"
#include "imaging/formats/picture_file.h"
#include "settings/file_naming.h"
#include "settings/settings_store.h"

namespace vistrel {

namespace {

std::filesystem::path ListPath() {
  return std::filesystem::path(SettingsFilePath()).parent_path() / "recovered-pictures";
}

}  // namespace

std::string SaveUnsavedPicture(const TPictureBitmap& picture, const std::string& folder,
                               std::string& error) {
  const std::string path =
      NextPictureFileName(WithTrailingSeparator(folder), TNamingRule{"Unsaved-", true, "png"}).path;
  try {
    TIOParams params;
    params.Reset();
    SavePictureFile(path, picture, params, TSaveAccess::kPrivateWhereShared);
  } catch (const std::exception& e) {
    error = e.what();
    return {};
  }
  std::error_code ignored;
  std::filesystem::create_directories(ListPath().parent_path(), ignored);
  std::ofstream list(ListPath(), std::ios::app);
  list << path << '\n';
  return path;
}

std::vector<std::string> TakeRecoveredPictures() {
  std::vector<std::string> paths;
  std::ifstream list(ListPath());
  for (std::string line; std::getline(list, line);)
    if (!line.empty()) paths.push_back(line);
  std::error_code ignored;
  std::filesystem::remove(ListPath(), ignored);
  return paths;
}

std::string RecoveredPicturesNotice(const std::vector<std::string>& paths) {
  std::string text = paths.size() == 1
                         ? "When the session ended, the edited picture was saved as "
                         : "When the session ended, the edited pictures were saved as ";
  for (std::size_t i = 0; i < paths.size(); ++i)
    text += (i == 0 ? "" : i + 1 == paths.size() ? " and " : ", ") + paths[i];
  return text + ".";
}

}  // namespace vistrel
