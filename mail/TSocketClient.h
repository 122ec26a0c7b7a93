// One TCP client connection with blocking-style operations that keep the
// user interface alive: every wait is a poll() loop of short slices that
// checks the cancel flag and calls Pump, which the program sets to "process
// pending UI events". Abort (from a pumped event) sets the cancel flag; the
// waiting operation then ends with its abort error. Plain POSIX, no Qt.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vistrel {

class TTlsSession;

class TSocketClient {
 public:
  TSocketClient();
  virtual ~TSocketClient();
  TSocketClient(const TSocketClient&) = delete;
  TSocketClient& operator=(const TSocketClient&) = delete;

  std::string Host;        // name, dotted IPv4 or IPv6 literal
  std::uint16_t Port = 25;
  int TimeOut = 0;         // milliseconds a wait may take; 0 means no limit
  std::function<void()> Pump;

  // Lookup and connect. Raises "Already connected", "Host Lookup Timed
  // Out", "Host Lookup Canceled", "Null Remote Address", "Connection Timed
  // out", "Connection Canceled" or "Connection Failed".
  void Connect();
  // Turns the connection into TLS with Host's certificate checked; all
  // later reads and writes are encrypted. Raises "The certificate of HOST
  // was refused: REASON", "The TLS handshake with HOST failed: REASON",
  // "TLS handshake timed out" or "TLS handshake aborted", closing the
  // connection.
  void StartTls();
  bool Encrypted() const { return tls_ != nullptr; }
  // Closes the socket at once (the peer sees a reset).
  void Disconnect();
  // Stops the operation in progress at its next check of the cancel flag.
  void Abort();

  // Sends the text (at most 65536 bytes; the rest is cut).
  void Write(std::string_view text);
  void WriteLn(std::string_view text);
  // One line with its terminator; empty when the connection was closed.
  // A line longer than 65536 bytes raises kOverLongReplyText and closes
  // the connection (the rest of it cannot be told from the next reply).
  // Raises "Socket readln aborted" once Abort was called, also when a line
  // is waiting.
  std::string ReadLn();
  // WriteLn(command), ReadLn; sets ReplyNumber and LastReply.
  std::string Transaction(std::string_view command);
  // Sends all of `data` in chunks of at most 65536 bytes, pumping after
  // each.
  void SendStream(std::string_view data);
  // Raises "Not Connected" unless connected.
  void CheckConnection() const;

  bool Connected() const { return connected_; }
  int ReplyNumber() const { return reply_number_; }
  const std::string& LastReply() const { return last_reply_; }
  // Whether Abort was called since the last Connect.
  bool AbortRequested() const { return aborted_; }

 protected:
  void ClearCancel() { cancel_ = false; }

 private:
  enum class Wait { Ready, Cancelled, TimedOut };
  // Polls `fd` for `events` in slices until it is ready, the cancel flag is
  // set or the time limit has passed; pumps after every empty slice and
  // when a slice's time has passed, however busy the connection is.
  Wait WaitFor(int fd, short events);
  void PumpIfDue();
  void PumpNow();
  void StartTimeLimit();
  void SendAll(std::string_view data, bool pump_each);
  void CloseSocket();
  [[noreturn]] void RaiseForErrno(int err) const;
  [[noreturn]] void RaiseTlsFailure();

  int fd_ = -1;
  std::unique_ptr<TTlsSession> tls_;
  bool connected_ = false;
  bool cancel_ = false;
  bool aborted_ = false;
  long long deadline_ms_ = 0;  // monotonic; 0 when no limit
  long long last_pump_ms_ = 0;
  std::unique_ptr<char[]> buffer_;  // for reads, allocated at the first
  int reply_number_ = 0;
  std::string last_reply_;
};

inline constexpr const char* kOverLongReplyText = "The mail server sent an over-long reply";

// The reply number of a server line: its leading decimal digits (at most
// ten), 0 when it has none; at most 65535.
int ReplyNumberOf(std::string_view line);

}  // namespace vistrel
