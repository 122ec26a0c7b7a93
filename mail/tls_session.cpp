#include "mail/tls_session.h"

#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cerrno>
#include <cstring>

#include "mail/socket_errors.h"

namespace vistrel {

namespace {

bool IsAddressLiteral(const std::string& host) {
  unsigned char buffer[16];
  return inet_pton(AF_INET, host.c_str(), buffer) == 1 || inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

// The words a person can act on for the usual faults.
std::string CertificateFault(long code) {
  switch (code) {
    case X509_V_ERR_CERT_HAS_EXPIRED: return "expired";
    case X509_V_ERR_CERT_NOT_YET_VALID: return "not yet valid";
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH: return "wrong name";
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT: return "self-signed";
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE: return "unknown issuer";
    default: return X509_verify_cert_error_string(code);
  }
}

}  // namespace

TTlsSession::TTlsSession(int fd, const std::string& host) : host_(host) {
  context_ = SSL_CTX_new(TLS_client_method());
  if (!context_) throw TSocketError("TLS could not be set up");
  SSL_CTX_set_min_proto_version(context_, TLS1_2_VERSION);
  SSL_CTX_set_verify(context_, SSL_VERIFY_PEER, nullptr);
  SSL_CTX_set_default_verify_paths(context_);
  // A peer that closes without the TLS goodbye is a closed connection,
  // as on the plain path.
  SSL_CTX_set_options(context_, SSL_OP_IGNORE_UNEXPECTED_EOF);
  ssl_ = SSL_new(context_);
  if (!ssl_ || SSL_set_fd(ssl_, fd) != 1) {
    if (ssl_) SSL_free(ssl_);
    SSL_CTX_free(context_);
    throw TSocketError("TLS could not be set up");
  }
  // Writes may be retried from a moved buffer of the same bytes.
  SSL_set_mode(ssl_, SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER | SSL_MODE_ENABLE_PARTIAL_WRITE);
  if (IsAddressLiteral(host)) {
    X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), host.c_str());
  } else {
    SSL_set1_host(ssl_, host.c_str());
    SSL_set_tlsext_host_name(ssl_, host.c_str());
  }
  SSL_set_connect_state(ssl_);
}

TTlsSession::~TTlsSession() {
  SSL_free(ssl_);
  SSL_CTX_free(context_);
}

TTlsResult TTlsSession::Outcome(int result) {
  if (result > 0) return {TTlsResult::Done, std::size_t(result)};
  switch (SSL_get_error(ssl_, result)) {
    case SSL_ERROR_WANT_READ: return {TTlsResult::WantRead};
    case SSL_ERROR_WANT_WRITE: return {TTlsResult::WantWrite};
    case SSL_ERROR_ZERO_RETURN: return {TTlsResult::Closed};
    case SSL_ERROR_SYSCALL:
      if (errno == 0 || errno == ECONNRESET || errno == EPIPE) return {TTlsResult::Closed};
      return {TTlsResult::Failed};
    default: return {TTlsResult::Failed};
  }
}

TTlsResult TTlsSession::Handshake() {
  ERR_clear_error();
  errno = 0;
  return Outcome(SSL_connect(ssl_));
}

TTlsResult TTlsSession::Read(char* buffer, std::size_t size) {
  ERR_clear_error();
  errno = 0;
  return Outcome(SSL_read(ssl_, buffer, int(size)));
}

TTlsResult TTlsSession::Peek(char* buffer, std::size_t size) {
  ERR_clear_error();
  errno = 0;
  return Outcome(SSL_peek(ssl_, buffer, int(size)));
}

TTlsResult TTlsSession::Write(const char* data, std::size_t size) {
  ERR_clear_error();
  errno = 0;
  return Outcome(SSL_write(ssl_, data, int(size)));
}

std::string TTlsSession::HandshakeError() const {
  const long verify = SSL_get_verify_result(ssl_);
  if (verify != X509_V_OK)
    return "The certificate of " + host_ + " was refused: " + CertificateFault(verify);
  const unsigned long code = ERR_peek_last_error();
  const char* reason = code ? ERR_reason_error_string(code) : nullptr;
  return "The TLS handshake with " + host_ + " failed: " +
         (reason ? reason : errno ? std::strerror(errno) : "the connection was closed");
}

}  // namespace vistrel
