// How saved pictures are named: folder + base name + an optional four-digit
// number + "." + extension, the number being the first one free.
#pragma once

#include <functional>
#include <string>

namespace vistrel {

struct TNamingRule {
  std::string base_name;  // AutoFileName
  bool numbering = true;  // AutoNumbering
  std::string extension;  // AutoExtention, without the dot
};

struct TPictureFileName {
  std::string path;  // folder joined to the name as they stand
  int number = 0;    // 0 without numbering
};

// "%.4d": at least four digits, zero-padded.
std::string FourDigitNumber(int n);

// The name of the next picture in `folder`. With numbering, the first n
// from 1 up whose file does not exist; without, the plain name whether it
// exists or not. `exists` is the file test (the real one by default).
TPictureFileName NextPictureFileName(
    const std::string& folder, const TNamingRule& rule,
    const std::function<bool(const std::string&)>& exists = {});

// A folder as the automatic save keeps it: with a trailing separator.
std::string WithTrailingSeparator(std::string folder);

}  // namespace vistrel
