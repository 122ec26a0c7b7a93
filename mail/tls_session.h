// The TLS layer over a connected non-blocking socket, with OpenSSL. The
// server's certificate is checked against the system's trust store (or
// $SSL_CERT_FILE / $SSL_CERT_DIR) and the host name or address; there is
// no way to skip the check. Every call returns at once: the caller waits
// for the readiness a result asks for.
#pragma once

#include <cstddef>
#include <string>

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

namespace vistrel {

struct TTlsResult {
  enum Kind { Done, WantRead, WantWrite, Closed, Failed } kind;
  std::size_t bytes = 0;  // Done: bytes moved
};

class TTlsSession {
 public:
  // Raises TSocketError when OpenSSL cannot be set up.
  TTlsSession(int fd, const std::string& host);
  ~TTlsSession();
  TTlsSession(const TTlsSession&) = delete;
  TTlsSession& operator=(const TTlsSession&) = delete;

  TTlsResult Handshake();
  TTlsResult Read(char* buffer, std::size_t size);
  TTlsResult Peek(char* buffer, std::size_t size);
  TTlsResult Write(const char* data, std::size_t size);

  // After a Failed handshake: "The certificate of HOST was refused: REASON"
  // or "The TLS handshake with HOST failed: REASON".
  std::string HandshakeError() const;

 private:
  TTlsResult Outcome(int result);

  SSL_CTX* context_ = nullptr;
  SSL* ssl_ = nullptr;
  std::string host_;
};

}  // namespace vistrel
