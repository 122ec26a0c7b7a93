// Steps of the picture window that belong to other parts of the program:
// the print setup dialog, the stored picture options of the standard
// editing window, printing, the captures into an open window. The program
// fills them in once at start (app/); while one is empty the window skips
// that step, and the buttons and items that need it stay disabled.
#pragma once

#include <functional>
#include <string>

#include "platform/shortcuts/desktop_entry.h"

class QMenu;

namespace vistrel {

class TMainForm1;
class TPictureDocument;
struct TAppContext;

struct TPictureServices {
  // Creation step 1: creates the print setup dialog, which lives as long as
  // the window.
  std::function<void(TMainForm1&)> CreatePrintSetup;
  // The standard editing window's batch of stored picture options.
  std::function<void(TMainForm1&)> ApplyPictureOptions;
  // Destruction step 1: closes the standard editing window if it is shown.
  std::function<void()> CloseStandardEditingWindow;
  // "Standard editing window" (command 3, the "Edit" button).
  std::function<void(TMainForm1&)> ShowStandardEditingWindow;
  // The print routine behind the "Print" button (ToolButton11Click); true
  // when the printer accepted the picture, false when it was not printed
  // (the fault has been reported).
  std::function<bool(TMainForm1&)> PrintPicture;
  // A picture no window shows (a capture printed at once), printed with the
  // stored print settings and "Footer Text": true when the printer took
  // every copy. A fault goes into `error` when one is given, else into a
  // message box.
  std::function<bool(TAppContext&, TPictureDocument&, std::string& footer_text,
                     std::string* error)>
      PrintDocument;
  // The print setup dialog behind the "Page" button and "Print Preview".
  std::function<void(TMainForm1&)> ShowPrintSetup;
  // Fills the "Page" drop-down (PopupMenu4).
  std::function<void(TMainForm1&, QMenu&)> BuildPageMenu;
  // The window's own captures, whole (busy flag, hiding, showing again):
  // "Rect.", "Object" and "Define Capture Rectangle".
  std::function<void(TMainForm1&)> SelectAreaIntoPicture;
  std::function<void(TMainForm1&)> PickObjectIntoPicture;
  std::function<void(TMainForm1&)> DefineCaptureRectangle;
  // Hotkey > Setup, Options > Shortcuts and Help > "Vistrel-Pro Help".
  std::function<void(TMainForm1&)> HotKeySetup;
  std::function<void(TMainForm1&, TShortcutFolder)> CreateRemoveShortcut;
  std::function<void(TMainForm1&)> OpenHelp;
  // Rectangles > "Define": the custom rectangle size dialog, which may
  // change CustomW and CustomH of the window's options.
  std::function<void(TMainForm1&)> DefineRectangleSize;
  // "Timer Setup" on the Automatic Save drop-down.
  std::function<void(TMainForm1&)> TimerSetup;
};

}  // namespace vistrel
