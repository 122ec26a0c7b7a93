// The compositor's IPC read against peers that misbehave: each answer ends
// within the deadline with nothing and a reason, never with a wrong window.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/wayland/sway_ipc.h"
#include "platform/wayland/sway_window_source.h"

namespace vistrel {
namespace {

using namespace std::chrono_literals;

constexpr auto kShortTimeout = 300ms;

std::string Header(std::uint32_t length, std::uint32_t type = kSwayGetTree) {
  std::string header = "i3-ipc";
  header.append(reinterpret_cast<const char*>(&length), 4);
  header.append(reinterpret_cast<const char*>(&type), 4);
  return header;
}

bool Send(int fd, const std::string& data) {
  return send(fd, data.data(), data.size(), MSG_NOSIGNAL) == ssize_t(data.size());
}

// A listening socket whose one connection `behave` serves on a thread of
// its own, after the request's 14 header bytes were read.
class Peer {
 public:
  explicit Peer(std::function<void(int)> behave) {
    const std::string folder = ::testing::TempDir() + "sway-peer-XXXXXX";
    std::vector<char> name(folder.begin(), folder.end());
    name.push_back('\0');
    folder_ = mkdtemp(name.data());
    path_ = folder_ + "/ipc.sock";
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, path_.c_str());
    EXPECT_EQ(bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    EXPECT_EQ(listen(listener_, 1), 0);
    thread_ = std::thread([this, behave = std::move(behave)] {
      const int fd = accept(listener_, nullptr, nullptr);
      if (fd < 0) return;
      char request[14];
      if (recv(fd, request, sizeof request, MSG_WAITALL) == sizeof request) behave(fd);
      close(fd);
    });
  }
  ~Peer() {
    shutdown(listener_, SHUT_RDWR);  // wakes an accept that got no caller
    thread_.join();
    close(listener_);
    std::filesystem::remove_all(folder_);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string folder_, path_;
  int listener_ = -1;
  std::thread thread_;
};

// Waits for the caller to hang up, answering nothing more.
void HoldUntilClosed(int fd) {
  char byte;
  while (recv(fd, &byte, 1, 0) > 0) {
  }
}

struct THostileCase {
  const char* what;
  std::function<void(int)> behave;
  const char* failure;
};

TEST(SwayIpc, HostilePeersEndInTimeWithAReason) {
  const THostileCase cases[] = {
      {"stalls after the header", [](int fd) { Send(fd, Header(100)); HoldUntilClosed(fd); },
       "the compositor's answer broke off"},
      {"stalls mid-header", [](int fd) { Send(fd, "i3-i"); HoldUntilClosed(fd); },
       "the compositor did not answer"},
      {"dribbles a byte at a time",
       [](int fd) {
         Send(fd, Header(1000));
         while (Send(fd, "{")) std::this_thread::sleep_for(10ms);
       },
       "the compositor's answer broke off"},
      {"claims a huge length and floods",
       [](int fd) {
         Send(fd, Header(0xFFFFFFFFu));
         const std::string flood(1 << 16, 'x');
         while (Send(fd, flood)) {
         }
       },
       "the compositor's answer claims 4294967295 bytes, more than any it sends"},
      {"floods without the protocol's header",
       [](int fd) {
         const std::string flood(1 << 16, '\xff');
         while (Send(fd, flood)) {
         }
       },
       "the compositor's answer is not one of its IPC protocol"},
      {"answers another question", [](int fd) { Send(fd, Header(2, 0) + "{}"); },
       "the compositor's answer is not one of its IPC protocol"},
      {"hangs up before answering", [](int) {}, "the compositor did not answer"},
  };
  for (const THostileCase& c : cases) {
    SCOPED_TRACE(c.what);
    Peer peer(c.behave);
    std::string failure;
    EXPECT_FALSE(AskSway(peer.Path(), kSwayGetTree, failure, "", kShortTimeout));
    EXPECT_EQ(failure, c.failure);
  }
}

TEST(SwayIpc, AnAnswerIsReadToItsLengthAndWhatFollowsIsLeft) {
  Peer peer([](int fd) {
    Send(fd, Header(2) + "{}");
    while (Send(fd, std::string(1 << 16, 'x'))) {
    }
  });
  std::string failure;
  EXPECT_EQ(AskSway(peer.Path(), kSwayGetTree, failure, "", kShortTimeout), "{}");
}

TEST(SwayIpc, NoSocketIsAFailureNamed) {
  std::string failure;
  EXPECT_FALSE(AskSway("", kSwayGetTree, failure));
  EXPECT_EQ(failure, "the compositor names no IPC socket (SWAYSOCK)");
  EXPECT_FALSE(AskSway(::testing::TempDir() + "no-such-socket", kSwayGetTree, failure));
  EXPECT_EQ(failure.rfind("the compositor's socket cannot be reached", 0), 0u) << failure;
}

// The window source over a peer that answers with `tree`; the pointer rests
// at (10, 10).
struct TSourceOver {
  explicit TSourceOver(std::string tree)
      : peer([tree = std::move(tree)](int fd) { Send(fd, Header(tree.size()) + tree); }),
        source(nullptr, peer.Path(), [] { return std::optional(std::pair{10, 10}); }) {}
  Peer peer;
  SwayWindowSource source;
};

TEST(SwayWindowSource, ATreeThatCannotBeReadIsAFailureNotTheDesktop) {
  // Nested far deeper than any tree of sway's.
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += R"({"type":"con","nodes":[)";
  for (int i = 0; i < 100000; ++i) deep += "]}";
  for (const std::string& tree : {std::string("garbage{"), std::string("[1, 2]"), deep}) {
    {
      TSourceOver over(tree);
      EXPECT_EQ(over.source.ActiveWindow(), 0u);
      EXPECT_EQ(over.source.Failure(), "the compositor's window tree cannot be read");
    }
    TSourceOver over(tree);
    EXPECT_FALSE(over.source.WindowUnderPointer());
    EXPECT_EQ(over.source.Failure(), "the compositor's window tree cannot be read");
  }
  // A tree read is no failure: window captures go on.
  TSourceOver over(R"({"type":"root","nodes":[{"type":"con","pid":1,"id":42,"focused":true}]})");
  EXPECT_EQ(over.source.ActiveWindow(), 42u);
  EXPECT_EQ(over.source.Failure(), "");
}

}  // namespace
}  // namespace vistrel
