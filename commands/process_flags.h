// Flags of the running program that outlive every window.
#pragma once

namespace vistrel {

struct TProcessFlags {
  // No hotkey, tray command or timer tick starts a capture while this is
  // false. False until the tray form has finished its creation.
  bool CaptureIdle = false;
  // Set by "Reset to Default and Exit": the exit erases every setting and a
  // picture window that closes afterwards writes nothing back.
  bool ResetPending = false;
  // A capture made alone from the command line: its windows leave the
  // settings file as it is, which belongs to the program that runs resident.
  bool KeepSettingsFile = false;

  bool WritesSettings() const { return !ResetPending && !KeepSettingsFile; }
};

}  // namespace vistrel
