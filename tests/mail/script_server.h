// A loopback server on a thread of the test, playing one connection from a
// script: reply lines, "read a line", "read DATA to its end", "hang" (read
// nothing, until the client goes) and "close". Records what it received.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vistrel::testing {

struct Step {
  enum Kind { Send, ReadLine, ReadData, Hang, Close } kind;
  std::string text;  // Send: the bytes
};

inline Step Reply(std::string text) { return {Step::Send, std::move(text)}; }
inline Step ReadLine() { return {Step::ReadLine, {}}; }
inline Step ReadData() { return {Step::ReadData, {}}; }
inline Step Hang() { return {Step::Hang, {}}; }
inline Step CloseNow() { return {Step::Close, {}}; }

class ScriptServer {
 public:
  explicit ScriptServer(std::vector<Step> script) : script_(std::move(script)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(listener_, 1);
    socklen_t len = sizeof a;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  ~ScriptServer() {
    shutdown(listener_, SHUT_RDWR);
    thread_.join();
    close(listener_);
  }

  std::uint16_t Port() const { return port_; }
  // Everything received, in order.
  std::string Received() {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
  }
  // The commands received (lines outside DATA), without line ends.
  std::vector<std::string> Commands() {
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
  }
  // The DATA content up to, not including, the final "." line.
  std::string Data() {
    std::lock_guard<std::mutex> lock(mutex_);
    return data_;
  }
  bool Finished() const { return finished_; }

 private:
  bool ReadUntil(int fd, const std::string& end, std::string& out) {
    char c;
    while (true) {
      const ssize_t n = recv(fd, &c, 1, 0);
      if (n <= 0) return false;
      out += c;
      std::lock_guard<std::mutex> lock(mutex_);
      received_ += c;
      if (out.size() >= end.size() && out.compare(out.size() - end.size(), end.size(), end) == 0)
        return true;
    }
  }

  void Run() {
    const int fd = accept(listener_, nullptr, nullptr);
    if (fd < 0) {
      finished_ = true;
      return;
    }
    for (const Step& step : script_) {
      bool ok = true;
      if (step.kind == Step::Send) {
        ok = send(fd, step.text.data(), step.text.size(), MSG_NOSIGNAL) >= 0;
      } else if (step.kind == Step::ReadLine) {
        std::string line;
        ok = ReadUntil(fd, "\r\n", line);
        std::lock_guard<std::mutex> lock(mutex_);
        commands_.push_back(line.substr(0, line.size() >= 2 ? line.size() - 2 : 0));
      } else if (step.kind == Step::ReadData) {
        std::string data = "\r\n";
        ok = ReadUntil(fd, "\r\n.\r\n", data);
        std::lock_guard<std::mutex> lock(mutex_);
        if (ok) data_ = data.substr(2, data.size() - 5);
      } else if (step.kind == Step::Hang) {
        char c;
        while (recv(fd, &c, 1, 0) > 0) {
        }
      } else {
        break;
      }
      if (!ok) break;
    }
    close(fd);
    finished_ = true;
  }

  std::vector<Step> script_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::string received_;
  std::vector<std::string> commands_;
  std::string data_;
  std::atomic<bool> finished_{false};
};

// A port on loopback where nothing listens.
inline std::uint16_t ClosedPort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  close(s);
  return ntohs(a.sin_port);
}

}  // namespace vistrel::testing
