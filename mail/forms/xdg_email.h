// The hand-off to the desktop's mail program: xdg-email opens its compose
// window with subject, text, attachment and recipient, and its exit status
// tells whether the mail went out.
#pragma once

#include <QString>
#include <functional>

namespace vistrel {

struct TXdgEmailResult {
  enum Kind { Sent, Unavailable, Failed } kind = Sent;
  int code = 0;  // the exit status when Failed
};

// Runs xdg-email from PATH and waits for it, calling `pump` meanwhile.
// An empty `to` passes no recipient.
TXdgEmailResult SendWithXdgEmail(const QString& subject, const QString& body,
                                 const QString& file, const QString& to,
                                 const std::function<void()>& pump);

}  // namespace vistrel
