// The type entries of the save dialog and the rules that tie them to file
// names and to the shared AutoExtention setting. Plain C++: the dialog, the
// picture window and the tests share them.
#pragma once

#include <array>
#include <string>

namespace vistrel {

struct TSaveTypeEntry {
  const char* text;
  const char* pattern;
  const char* extension;  // without the dot, lower case
};

// Entries as the dialog numbers them, from 1.
inline constexpr int kSaveTypeEntryCount = 10;
extern const std::array<TSaveTypeEntry, kSaveTypeEntryCount> kSaveTypeEntries;

// The entry for an extension: "jpg" 1, "gif" 2, "tif" 3, "pcx" 4, "png" 5,
// "bmp" 6 (7 with `os2_bitmap`, as after the defaults dialog), "jp2" 8,
// "pdf" 9, "ico" 10. Any other extension keeps `current`.
int SaveEntryForExtension(const std::string& extension, int current, bool os2_bitmap = false);

// The extension of an entry; "png" for an entry out of range.
std::string SaveEntryExtension(int entry);

// `name` cut at the first dot of its file name, then "." + `extension`
// (appended when it has no dot). Folders in front of the name are kept; an empty name stays empty.
std::string WithExtension(const std::string& name, const std::string& extension);

// The folder part of a chosen path including its trailing separator; "" for
// a bare name.
std::string FolderOfPath(const std::string& path);

}  // namespace vistrel
