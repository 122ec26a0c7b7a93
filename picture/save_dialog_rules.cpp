#include "picture/save_dialog_rules.h"

namespace vistrel {

const std::array<TSaveTypeEntry, kSaveTypeEntryCount> kSaveTypeEntries = {{
    {"JPEG Bitmap (JPG)", "*.jpg", "jpg"},
    {"CompuServe Bitmap (GIF)  non LZW", "*.gif", "gif"},
    {"TIFF Bitmap (TIF)", "*.tif", "tif"},
    {"PaintBrush (PCX)", "*.pcx", "pcx"},
    {"Portable Network Graphics (PNG)", "*.png", "png"},
    {"Windows Bitmap (BMP)", "*.bmp", "bmp"},
    {"OS/2 Bitmap (BMP)", "*.bmp", "bmp"},
    {"JPEG2000 (JP2)", "*.jp2", "jp2"},
    {"ADOBE Acrobat (PDF)", "*.pdf", "pdf"},
    {"Icon resource (ICO)", "*.ico", "ico"},
}};

int SaveEntryForExtension(const std::string& extension, int current, bool os2_bitmap) {
  if (extension == "bmp") return os2_bitmap ? 7 : 6;
  for (int entry = 1; entry <= kSaveTypeEntryCount; ++entry)
    if (extension == kSaveTypeEntries[std::size_t(entry - 1)].extension) return entry;
  return current;
}

std::string SaveEntryExtension(int entry) {
  if (entry < 1 || entry > kSaveTypeEntryCount) return "png";
  return kSaveTypeEntries[std::size_t(entry - 1)].extension;
}

std::string WithExtension(const std::string& name, const std::string& extension) {
  if (name.empty()) return name;
  const std::size_t slash = name.find_last_of('/');
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  // A leading dot names a hidden file, not an extension.
  const std::size_t dot = name.find('.', start + 1);
  const bool has_extension = dot != std::string::npos;
  return (has_extension ? name.substr(0, dot) : name) + "." + extension;
}

std::string FolderOfPath(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace vistrel
