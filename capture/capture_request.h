// One capture asked for by a hotkey, a tray item, the capture timer or the
// command line: what to grab, how, and what happens to the picture. A plain
// value: whoever asks builds one, RunCaptureRequest carries it out.
#pragma once

#include <optional>
#include <string>

namespace vistrel {

enum class TCaptureArea {
  Desktop,     // the capture bounds (the Monitors choice), or one monitor
  Monitor,     // monitor `monitor` (1-based) alone
  Window,      // the foreground window with its frame
  ClientArea,  // the foreground window's client area
  Area,        // a rectangle dragged over the frozen desktop
  Object,      // a window or control picked on the frozen desktop
  Custom,      // the stored custom capture rectangle
};

// A switch the request may fix, or leave to the stored option command.
enum class TAsSet { Stored, On, Off };

// Where a picture goes when it is saved without the save dialog.
struct TSaveTarget {
  // Empty: the automatic save folder with the automatic name rule.
  std::string path;
  // With an empty path: this folder instead of the automatic save folder.
  std::string folder;
  // "-": PNG to standard output (command line only).
  bool ToStandardOutput() const { return path == "-"; }
};

struct TCaptureRequest {
  TCaptureArea area = TCaptureArea::Desktop;
  int monitor = 0;  // for TCaptureArea::Monitor, 1-based
  TAsSet cursor = TAsSet::Stored;
  TAsSet sound = TAsSet::Stored;
  // Waited by whoever runs the request, before it is run.
  int delay_seconds = 0;
  // Area, Object: what the picture holds when the user leaves the frozen
  // desktop without a selection; nothing: the request is cancelled.
  std::optional<TCaptureArea> unselected;
  // Left to the option commands, as hotkeys and tray items ask:
  // Window takes the client area alone while "Client Area only" is on;
  bool client_area_as_set = false;
  // a picture that is not shown plainly is copied to the clipboard while
  // "Automatic to Clipboard" is on (a shown one is copied at first paint).
  bool clipboard_as_set = false;

  // What happens to the picture. With nothing of save, clipboard and print
  // set, it is shown in the picture window.
  bool show = false;
  std::optional<TSaveTarget> save;
  bool clipboard = false;
  bool print = false;

  // The command line hears how the request ended: a failure is told to
  // it, not in a message box that no one may be there to close.
  bool caller_hears_outcome = false;

  bool ShowsPicture() const { return show || (!save && !clipboard && !print); }
};

// How a request ended.
struct TCaptureOutcome {
  enum class TStatus {
    Done,
    Cancelled,  // left without a selection, nothing picked
    Failed,     // the picture could not be saved or printed
  };
  TStatus status = TStatus::Done;
  std::string path;     // the file written, if any
  std::string message;  // what went wrong, for Failed
};

}  // namespace vistrel
