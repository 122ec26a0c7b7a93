#include "mail/TSocketClient.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>

#include "mail/host_lookup.h"
#include "mail/socket_errors.h"
#include "mail/tls_session.h"

namespace vistrel {

namespace {

constexpr std::size_t kBufferSize = 65536;
// Short enough that a pumped user interface stays smooth.
constexpr int kSliceMs = 10;

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int ReplyNumberOf(std::string_view line) {
  long long value = 0;
  for (std::size_t i = 0; i < line.size() && i < 10 && line[i] >= '0' && line[i] <= '9'; ++i)
    value = value * 10 + (line[i] - '0');
  return int(value > 65535 ? 65535 : value);
}

TSocketClient::TSocketClient() = default;
TSocketClient::~TSocketClient() { CloseSocket(); }

void TSocketClient::RaiseForErrno(int err) const { throw TSocketError(SocketErrorTextForErrno(err)); }

void TSocketClient::RaiseTlsFailure() {
  CloseSocket();
  throw TSocketError("The TLS connection with " + Host + " failed");
}

void TSocketClient::StartTimeLimit() { deadline_ms_ = TimeOut > 0 ? NowMs() + TimeOut : 0; }

void TSocketClient::PumpNow() {
  last_pump_ms_ = NowMs();
  if (Pump) Pump();
}

void TSocketClient::PumpIfDue() {
  if (NowMs() - last_pump_ms_ >= kSliceMs) PumpNow();
}

TSocketClient::Wait TSocketClient::WaitFor(int fd, short events) {
  for (;;) {
    if (cancel_) return Wait::Cancelled;
    if (deadline_ms_ && NowMs() >= deadline_ms_) return Wait::TimedOut;
    pollfd p{fd, events, 0};
    const int r = poll(&p, 1, kSliceMs);
    if (r < 0 && errno != EINTR) RaiseForErrno(errno);
    if (r > 0) {
      // A server that always has data ready must not starve the window.
      PumpIfDue();
      return cancel_ ? Wait::Cancelled : Wait::Ready;  // errors and hang-ups show in the next call
    }
    PumpNow();
  }
}

void TSocketClient::Connect() {
  cancel_ = false;
  aborted_ = false;
  last_pump_ms_ = NowMs();
  if (connected_) throw TSocketError("Already connected");

  std::optional<TSocketAddress> address = NumericAddress(Host, Port);
  if (!address) {
    THostLookup lookup(Host, Port);
    StartTimeLimit();
    for (;;) {
      const Wait w = WaitFor(lookup.Descriptor(), POLLIN);
      if (w == Wait::TimedOut) throw TSocketError("Host Lookup Timed Out");
      if (w == Wait::Cancelled) throw TSocketAbort("Host Lookup Canceled");
      if (lookup.Done()) break;
    }
    address = lookup.Result();
  }
  if (!address) throw TSocketError("Null Remote Address");

  CloseSocket();
  fd_ = socket(address->family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) RaiseForErrno(errno);
  // Closing resets the connection instead of lingering.
  const linger no_linger{1, 0};
  setsockopt(fd_, SOL_SOCKET, SO_LINGER, &no_linger, sizeof no_linger);
  // Commands and the end-of-data line are short writes each awaiting a
  // reply: they go out at once instead of waiting for an acknowledgement.
  const int one = 1;
  setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);

  if (connect(fd_, reinterpret_cast<const sockaddr*>(&address->storage), address->length) == 0) {
    connected_ = true;
    return;
  }
  const int err = errno;
  if (err != EINPROGRESS && err != EINTR) {
    CloseSocket();
    // A refusal known at once is the same outcome as one reported later.
    if (err == ECONNREFUSED) throw TSocketError("Connection Failed");
    RaiseForErrno(err);
  }
  StartTimeLimit();
  const Wait w = WaitFor(fd_, POLLOUT);
  int so_error = 0;
  socklen_t len = sizeof so_error;
  if (w == Wait::Ready && getsockopt(fd_, SOL_SOCKET, SO_ERROR, &so_error, &len) == 0 && so_error == 0) {
    connected_ = true;
    return;
  }
  CloseSocket();
  if (w == Wait::TimedOut) throw TSocketError("Connection Timed out");
  if (w == Wait::Cancelled) throw TSocketAbort("Connection Canceled");
  throw TSocketError("Connection Failed");
}

void TSocketClient::StartTls() {
  CheckConnection();
  tls_ = std::make_unique<TTlsSession>(fd_, Host);
  StartTimeLimit();
  for (;;) {
    const TTlsResult r = tls_->Handshake();
    if (r.kind == TTlsResult::Done) return;
    if (r.kind == TTlsResult::WantRead || r.kind == TTlsResult::WantWrite) {
      const Wait w = WaitFor(fd_, r.kind == TTlsResult::WantRead ? POLLIN : POLLOUT);
      if (w == Wait::Ready) continue;
      CloseSocket();
      cancel_ = false;
      if (w == Wait::Cancelled) throw TSocketAbort("TLS handshake aborted");
      throw TSocketError("TLS handshake timed out");
    }
    const std::string error = tls_->HandshakeError();
    CloseSocket();
    throw TSocketError(error);
  }
}

void TSocketClient::CloseSocket() {
  tls_.reset();
  connected_ = false;
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

void TSocketClient::Disconnect() { CloseSocket(); }

void TSocketClient::Abort() {
  cancel_ = true;
  aborted_ = true;
}

void TSocketClient::CheckConnection() const {
  if (!connected_) throw TSocketError("Not Connected");
}

void TSocketClient::SendAll(std::string_view data, bool pump_each) {
  StartTimeLimit();
  while (!data.empty()) {
    if (cancel_) break;
    const std::size_t chunk = data.size() < kBufferSize ? data.size() : kBufferSize;
    if (tls_) {
      const TTlsResult r = tls_->Write(data.data(), chunk);
      if (r.kind == TTlsResult::Closed) return;
      if (r.kind == TTlsResult::Failed) RaiseTlsFailure();
      if (r.kind != TTlsResult::Done) {
        if (WaitFor(fd_, r.kind == TTlsResult::WantRead ? POLLIN : POLLOUT) != Wait::Ready) cancel_ = true;
        continue;
      }
      data.remove_prefix(r.bytes);
      if (pump_each) PumpNow();
      continue;
    }
    const ssize_t sent = fd_ < 0 ? -1 : send(fd_, data.data(), chunk, MSG_NOSIGNAL);
    if (sent == 0) return;
    if (sent < 0) {
      const int err = fd_ < 0 ? ENOTCONN : errno;
      if (err == EINTR) continue;
      if (err != EAGAIN && err != EWOULDBLOCK) RaiseForErrno(err);
      const Wait w = WaitFor(fd_, POLLOUT);
      if (w != Wait::Ready) cancel_ = true;
      continue;
    }
    data.remove_prefix(std::size_t(sent));
    if (pump_each) PumpNow();
  }
  if (cancel_) {
    cancel_ = false;
    throw TSocketAbort("Socket send aborted");
  }
}

void TSocketClient::Write(std::string_view text) {
  SendAll(text.substr(0, kBufferSize), false);
}

void TSocketClient::WriteLn(std::string_view text) {
  std::string line(text.substr(0, kBufferSize - 2));
  line += "\r\n";
  Write(line);
}

void TSocketClient::SendStream(std::string_view data) { SendAll(data, true); }

std::string TSocketClient::ReadLn() {
  StartTimeLimit();
  if (!buffer_) buffer_ = std::make_unique<char[]>(kBufferSize);
  char* const buffer = buffer_.get();
  std::string result;
  for (;;) {
    PumpIfDue();
    if (cancel_ || (deadline_ms_ && NowMs() >= deadline_ms_)) break;
    const std::size_t room = kBufferSize - result.size();
    if (room == 0) {
      // The rest of this line would be read as the next reply.
      CloseSocket();
      throw TSocketError(kOverLongReplyText);
    }
    if (tls_) {
      const TTlsResult r = tls_->Peek(buffer, room);
      if (r.kind == TTlsResult::Closed) return std::string();
      if (r.kind == TTlsResult::Failed) RaiseTlsFailure();
      if (r.kind != TTlsResult::Done) {
        if (WaitFor(fd_, r.kind == TTlsResult::WantRead ? POLLIN : POLLOUT) == Wait::Ready) continue;
        break;
      }
      const auto* lf = static_cast<const char*>(std::memchr(buffer, '\n', r.bytes));
      const std::size_t take = lf ? std::size_t(lf - buffer) + 1 : r.bytes;
      // Peeked bytes are decrypted and waiting: this read takes them all.
      const TTlsResult got = tls_->Read(buffer, take);
      if (got.kind != TTlsResult::Done) RaiseTlsFailure();
      result.append(buffer, got.bytes);
      if (lf && got.bytes == take) return result;
      continue;
    }
    const ssize_t n = fd_ < 0 ? -1 : recv(fd_, buffer, room, MSG_PEEK);
    if (n == 0) return std::string();  // closed by the peer
    if (n < 0) {
      const int err = fd_ < 0 ? ENOTCONN : errno;
      if (err == ENOTCONN) return std::string();
      if (err == EINTR) continue;
      if (err != EAGAIN && err != EWOULDBLOCK) RaiseForErrno(err);
      if (WaitFor(fd_, POLLIN) == Wait::Ready) continue;
      break;
    }
    const auto* lf = static_cast<const char*>(std::memchr(buffer, '\n', std::size_t(n)));
    const std::size_t take = lf ? std::size_t(lf - buffer) + 1 : std::size_t(n);
    const ssize_t got = recv(fd_, buffer, take, 0);
    if (got > 0) result.append(buffer, std::size_t(got));
    if (lf && got == ssize_t(take)) return result;
  }
  cancel_ = false;
  throw TSocketAbort("Socket readln aborted");
}

std::string TSocketClient::Transaction(std::string_view command) {
  reply_number_ = 0;
  WriteLn(command);
  last_reply_ = ReadLn();
  reply_number_ = ReplyNumberOf(last_reply_);
  return last_reply_;
}

}  // namespace vistrel
