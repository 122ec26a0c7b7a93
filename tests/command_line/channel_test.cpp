// The capture command line between processes: what crosses the socket, and
// the asking side against running copies that answer, refuse, hang up,
// flood or talk nonsense.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "app/capture_channel.h"
#include "app/capture_client.h"
#include "app/single_instance.h"

namespace vistrel {
namespace {

TEST(CaptureChannel, AnyArgumentAndReplyTextCrossesOnOneLine) {
  const std::vector<std::string> args = {"--capture", "area", "--output",
                                         "/tmp/a b\n%41\r.png", "", "f\xC3\xBCr", "a\tb"};
  const std::string line = CaptureRequestLine(args);
  EXPECT_EQ(line.find('\n'), line.size() - 1);
  EXPECT_EQ(CaptureRequestArguments(line), args);
  for (const char* bad : {"CAPTURE %zz", "CAPTURE a%4", "CLOSE Vistrel-Pro", "", "CAPTUREx"})
    EXPECT_FALSE(CaptureRequestArguments(bad)) << bad;

  for (TCaptureExit status : {TCaptureExit::Done, TCaptureExit::Cancelled, TCaptureExit::Usage,
                              TCaptureExit::Failed})
    for (const std::string text : {"", "/home/u/Pictures/Picture 0001.png", "two\nlines %"}) {
      const std::optional<TCaptureReply> back = ParseCaptureReply(CaptureReplyLine({status, text}));
      ASSERT_TRUE(back);
      EXPECT_EQ(back->status, status);
      EXPECT_EQ(back->text, text);
    }
  for (const char* bad : {"ACCEPTED", "DONE a b", "WHAT x", "", "FAILED %G0"})
    EXPECT_FALSE(ParseCaptureReply(bad)) << bad;
}

TEST(CaptureChannel, PathsBecomeTheCallersAndStandardOutputAPrivateFile) {
  EXPECT_EQ(WithCallerPaths({"--capture", "desktop", "--output", "shots/a.png"}, "/home/u", "/run/x.png"),
            (std::vector<std::string>{"--capture", "desktop", "--output", "/home/u/shots/a.png"}));
  EXPECT_EQ(WithCallerPaths({"--output-dir", ".", "--capture", "area"}, "/w", ""),
            (std::vector<std::string>{"--output-dir", "/w/.", "--capture", "area"}));
  EXPECT_EQ(WithCallerPaths({"--capture", "desktop", "--output", "-"}, "/w", "/run/x.png"),
            (std::vector<std::string>{"--capture", "desktop", "--output", "/run/x.png"}));
  EXPECT_EQ(WithCallerPaths({"--output", "/abs.png", "--capture", "desktop"}, "/w", ""),
            (std::vector<std::string>{"--output", "/abs.png", "--capture", "desktop"}));
}

// A running copy of our own making on this display's socket: reads the
// request line, answers `reply` and hangs up.
class FakeRunningCopy {
 public:
  explicit FakeRunningCopy(std::string reply) : reply_(std::move(reply)) {
    fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string path = CloseRequestSocketPath();
    std::strcpy(addr.sun_path, path.c_str());
    unlink(path.c_str());
    EXPECT_EQ(bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    listen(fd_, 1);
    thread_ = std::thread([this] {
      const int peer = accept(fd_, nullptr, nullptr);
      if (peer < 0) return;
      std::string buffer;
      request_ = ReadLine(peer, buffer, 5000).value_or("");
      SendLine(peer, reply_);
      close(peer);
    });
  }
  ~FakeRunningCopy() {
    shutdown(fd_, SHUT_RDWR);
    thread_.join();
    close(fd_);
    unlink(CloseRequestSocketPath().c_str());
  }
  const std::string& Request() const { return request_; }

 private:
  std::string reply_;
  std::string request_;
  int fd_ = -1;
  std::thread thread_;
};

class CaptureClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("vistrel-client-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
    setenv("DISPLAY", ":424242", 1);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  int Run(std::vector<std::string> args) {
    return RunCaptureCommand(args, [](const std::vector<std::string>&, int report_fd) {
      const std::string line = CaptureReplyLine({TCaptureExit::Cancelled, "one-shot"});
      return write(report_fd, line.data(), line.size()) > 0 ? 0 : 9;
    });
  }

  std::filesystem::path folder_;
};

TEST_F(CaptureClientTest, ExitStatusFollowsTheRunningCopyOrTheOneShotAndNeverTrustsGarbage) {
  EXPECT_EQ(Run({"--capture", "nothing"}), 2);
  // No copy runs: the one-shot capture in a child answers.
  EXPECT_EQ(Run({"--capture", "desktop"}), 1);
  EXPECT_EQ(RunCaptureCommand({"--capture", "desktop"},
                              [](const std::vector<std::string>&, int) { return 0; }),
            3);

  const struct {
    std::string reply;
    int status;
  } peers[] = {
      {"ACCEPTED\nDONE /tmp/x.png\n", 0},  {"ACCEPTED\nCANCELLED %\n", 1},
      {"ACCEPTED\nUSAGE bad\n", 2},        {"ACCEPTED\nFAILED busy\n", 3},
      {"NONE\n", 3},                       {"ACCEPTED\n", 3},
      {"ACCEPTED\nDONE a b c\n", 3},       {std::string(200000, 'x'), 3},
  };
  for (const auto& peer : peers) {
    FakeRunningCopy copy(peer.reply);
    EXPECT_EQ(Run({"--capture", "window", "--output", "rel.png"}), peer.status)
        << peer.reply.substr(0, 40);
    // The copy was sent the caller's absolute path.
    EXPECT_EQ(CaptureRequestArguments(copy.Request()),
              (std::vector<std::string>{"--capture", "window", "--output",
                                        std::filesystem::current_path().string() + "/rel.png"}));
  }
}

}  // namespace
}  // namespace vistrel
