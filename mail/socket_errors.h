// Errors of the socket client. Socket failures carry the Winsock code and
// description the program has always shown; an abort is a kind of its own,
// so callers can tell "the user stopped it" from "the network failed".
#pragma once

#include <stdexcept>
#include <string>

namespace vistrel {

// Any failure of the mail protocol layer; what() is the text the user sees.
class TMailError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSocketError : public TMailError {
 public:
  using TMailError::TMailError;
};

// "Socket send aborted", "Socket readln aborted".
class TSocketAbort : public TMailError {
 public:
  using TMailError::TMailError;
};

// The Winsock code for a POSIX errno value; 0 when there is none.
int WinsockCode(int posix_errno);

// "10061:Connection refused", or "Unknown Error No. 10100" for a code
// outside the table.
std::string SocketErrorText(int winsock_code);

// The text for a failed call that left `posix_errno`.
std::string SocketErrorTextForErrno(int posix_errno);

}  // namespace vistrel
