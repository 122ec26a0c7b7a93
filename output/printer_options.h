// The keys of section "Setup\PrinterOptions": read when the print setup
// dialog is created, written when it is destroyed.
#pragma once

#include <array>
#include <string>

#include "settings/settings_store.h"

namespace vistrel {

inline constexpr const char* kPrinterOptionsSection = "Setup\\PrinterOptions";
inline constexpr const char* kDefaultPrinterEntry = "Default Printer";

struct TPrinterOptions {
  std::array<bool, 4> RItem{};  // footer lines
  std::string RPrinter = kDefaultPrinterEntry;
  int RAlignment = 0;
  bool RPortrait = true;
  bool RLandscape = false;
  bool RPercentPicture = true;
  bool RPercentPage = false;
  bool R8Cpi = true;
  bool R10Cpi = false;
  bool R12Cpi = false;
  bool RProportional = true;
  int RCopies = 1;
  int RPercentPictureValue = 100;
  int RPercentPageValue = 100;
  bool SmallSize = false;
  bool GrayScale = false;
  int RPapersize = 0;
  int RDefaultsource = 0;

  static TPrinterOptions Load(const SettingsStore& store);
  void Save(SettingsStore& store) const;
};

}  // namespace vistrel
