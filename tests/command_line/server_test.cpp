// The running copy's socket against peers that flood, send garbage or ask
// properly: garbage is refused, a flood is cut off, the copy keeps answering.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <future>

#include "app/running_copy_server.h"
#include "app/single_instance.h"

namespace vistrel {
namespace {

// Sends `request` from another thread and returns everything the copy says
// until it hangs up, while this thread runs the copy's event loop.
// A peer that sends no line break hears "HUNG UP" when the copy closes the
// connection, "SILENT" when the copy only stays quiet.
std::string Exchange(const std::string& request) {
  std::future<std::string> answer = std::async(std::launch::async, [request] {
    const int fd = ConnectToRunningCopy();
    if (fd < 0) return std::string("no connection");
    SendLine(fd, request);
    std::string all, buffer;
    while (std::optional<std::string> line = ReadLine(fd, buffer, 5000)) all += *line + "\n";
    if (all.empty() && request.find('\n') == std::string::npos) {
      pollfd p{fd, POLLIN, 0};
      char c;
      all = poll(&p, 1, 0) == 1 && read(fd, &c, 1) == 0 ? "HUNG UP" : "SILENT";
    }
    close(fd);
    return all;
  });
  QElapsedTimer waited;
  waited.start();
  while (answer.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready &&
         waited.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return answer.get();
}

TEST(RunningCopyServer, FloodsAndGarbageAreRefusedAndCapturesAnswered) {
  QTemporaryDir runtime;
  qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  qputenv("DISPLAY", ":424243");
  int closes = 0;
  std::vector<std::string> asked;
  RunningCopyServer server(
      {"Vistrel-Pro"}, [&] { return ++closes, true; },
      [&](const std::vector<std::string>& args, RunningCopyServer::TReply reply) {
        asked = args;
        reply({TCaptureExit::Done, "/p.png"});
      });
  ASSERT_TRUE(server.Listen());

  EXPECT_EQ(Exchange(std::string(200000, 'x')), "HUNG UP");
  EXPECT_EQ(Exchange("CAPTURE %zz\n"), "NONE\n");
  EXPECT_EQ(Exchange("CLOSE Another program\n"), "NONE\n");
  EXPECT_EQ(closes, 0);
  EXPECT_EQ(Exchange(CaptureRequestLine({"--capture", "area"})), "ACCEPTED\nDONE /p.png\n");
  EXPECT_EQ(asked, (std::vector<std::string>{"--capture", "area"}));
  EXPECT_EQ(Exchange("CLOSE vistrel-pro\n"), "CLOSED\n");
  EXPECT_EQ(closes, 1);
}

}  // namespace
}  // namespace vistrel
