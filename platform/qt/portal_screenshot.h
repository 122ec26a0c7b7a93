// One request to the desktop portal's Screenshot interface and the picture
// it answers with, shared by the whole-desktop grab and the window pick.
#pragma once

#include <QImage>
#include <string>

namespace vistrel {

struct TPortalScreenshot {
  QImage picture;          // BGR888; null when there is none
  bool cancelled = false;  // the user left the desktop's dialog
  std::string failure;     // why there is no picture, when not cancelled
};

// Asks the portal for a screenshot: of the whole desktop, or, when
// `interactive`, of what the user picks in the desktop's own dialog. The
// wait for the answer runs the event loop (user input held back) and ends
// after PortalAnswerWaitMs(); a request made while another one waits is
// refused, so a handler that runs meanwhile cannot nest a second dialog.
TPortalScreenshot TakePortalScreenshot(bool interactive);

// How long an answer may take: two minutes (the first use may ask the
// user whether the program may take pictures at all), or
// $VISTREL_PORTAL_WAIT_MS where set, which tests use to shorten it.
int PortalAnswerWaitMs();

// The picture a Response's results name, or why there is none: the "uri"
// must name a local file holding a picture of a sane size. The file is
// removed once read (the portal made it for this request alone); a file
// that is no picture is left where it is.
TPortalScreenshot ReadPortalPicture(const QString& uri);

}  // namespace vistrel
