#include "mail/TSocketClient.h"

#include <gtest/gtest.h>

#include <csignal>

#include "mail/socket_errors.h"
#include "script_server.h"

namespace vistrel {
namespace {

using namespace vistrel::testing;

template <typename Error, typename F>
std::string ErrorText(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

TEST(SocketErrorsTest, WinsockCodesAndTexts) {
  EXPECT_EQ(SocketErrorText(10061), "10061:Connection refused");
  EXPECT_EQ(SocketErrorText(11004), "11004:Valid name, no data record of requested type");
  EXPECT_EQ(SocketErrorText(10100), "Unknown Error No. 10100");
  EXPECT_EQ(SocketErrorTextForErrno(ECONNREFUSED), "10061:Connection refused");
  EXPECT_EQ(SocketErrorTextForErrno(ETIMEDOUT), "10060:Connection timed out");
  EXPECT_EQ(SocketErrorTextForErrno(ECONNRESET), "10054:Connection reset by peer");
  EXPECT_EQ(SocketErrorTextForErrno(EPIPE), "10054:Connection reset by peer");
  EXPECT_EQ(SocketErrorTextForErrno(ENOTCONN), "10057:Socket is not connected");
  // An errno with no Winsock twin never borrows another code's text.
  EXPECT_EQ(SocketErrorTextForErrno(ENOLCK), "Unknown Error No. " + std::to_string(10000 + ENOLCK));
}

TEST(SocketClientTest, ReplyNumbers) {
  EXPECT_EQ(ReplyNumberOf("250 OK\r\n"), 250);
  EXPECT_EQ(ReplyNumberOf("250-first\r\n"), 250);
  EXPECT_EQ(ReplyNumberOf("OK\r\n"), 0);
  EXPECT_EQ(ReplyNumberOf(""), 0);
  EXPECT_EQ(ReplyNumberOf("99999999999999 x"), 65535);
}

TEST(SocketClientTest, ARefusedConnectionFailsAndTheNextConnectWorks) {
  TSocketClient client;
  client.Host = "127.0.0.1";
  client.Port = ClosedPort();
  EXPECT_EQ(ErrorText<TSocketError>([&] { client.Connect(); }), "Connection Failed");
  EXPECT_FALSE(client.Connected());
  ScriptServer server({Reply("220 hi\r\n")});
  client.Port = server.Port();
  client.Connect();
  EXPECT_TRUE(client.Connected());
  EXPECT_EQ(ErrorText<TSocketError>([&] { client.Connect(); }), "Already connected");
}

TEST(SocketClientTest, AnUnknownNameHasNoAddress) {
  TSocketClient client;
  client.Host = "no-such-host.invalid";
  EXPECT_EQ(ErrorText<TSocketError>([&] { client.Connect(); }), "Null Remote Address");
}

TEST(SocketClientTest, ANameIsLookedUp) {
  ScriptServer server({Reply("220 hi\r\n")});
  TSocketClient client;
  client.Host = "localhost";
  client.Port = server.Port();
  client.Connect();  // an IPv4 address comes first, where the server listens
  EXPECT_EQ(client.ReadLn(), "220 hi\r\n");
}

TEST(SocketClientTest, TwoLineRepliesAreTwoReadsAndAClosedConnectionReadsEmpty) {
  ScriptServer server({Reply("250-first\r\n250 second\r\n"), ReadLine(), CloseNow()});
  TSocketClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.Connect();
  EXPECT_EQ(client.ReadLn(), "250-first\r\n");
  EXPECT_EQ(client.ReadLn(), "250 second\r\n");
  EXPECT_EQ(client.Transaction("NOOP"), "");
  EXPECT_EQ(client.ReplyNumber(), 0);
  EXPECT_EQ(server.Commands(), std::vector<std::string>{"NOOP"});
}

TEST(SocketClientTest, ALineArrivingInPiecesIsReadWhole) {
  ScriptServer server({Reply("25"), Reply("0 OK"), Reply("\r\nnext\r\n")});
  TSocketClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.Connect();
  EXPECT_EQ(client.ReadLn(), "250 OK\r\n");
  EXPECT_EQ(client.ReadLn(), "next\r\n");
}

TEST(SocketClientTest, ALineEndsAtTheBufferSize) {
  // The longest line read whole, then one a byte longer: that one is an
  // error, and the connection, out of step now, is closed.
  const std::string longest = std::string(65534, 'a') + "\r\n";
  ScriptServer server({Reply(longest), Reply(std::string(65535, 'b') + "\r\n"), Hang()});
  TSocketClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.Connect();
  EXPECT_EQ(client.ReadLn(), longest);
  EXPECT_EQ(ErrorText<TSocketError>([&] { client.ReadLn(); }), kOverLongReplyText);
  EXPECT_FALSE(client.Connected());
}

TEST(SocketClientTest, AServerThatNeverPausesIsPumpedAndAborted) {
  // 200000 lines arrive back to back; the pump must run while they flow,
  // and its Abort must stop the reading long before their end.
  std::string flood;
  for (int i = 0; i < 200000; ++i) flood += "250-x\r\n";
  ScriptServer server({Reply(flood), Hang()});
  TSocketClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.Connect();
  client.Pump = [&] { client.Abort(); };
  int lines = 0;
  const std::string error = ErrorText<TSocketAbort>([&] {
    for (; lines < 200000; ++lines) client.ReadLn();
  });
  EXPECT_EQ(error, "Socket readln aborted");
  EXPECT_LT(lines, 200000);
  client.Disconnect();
}

TEST(SocketClientTest, AbortThroughThePumpEndsAHungRead) {
  ScriptServer server({Hang()});
  TSocketClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.Connect();
  int pumped = 0;
  client.Pump = [&] {
    if (++pumped == 3) client.Abort();
  };
  EXPECT_EQ(ErrorText<TSocketAbort>([&] { client.ReadLn(); }), "Socket readln aborted");
  EXPECT_EQ(pumped, 3);
  EXPECT_TRUE(client.AbortRequested());
  client.Disconnect();
}

TEST(SocketClientTest, AbortThroughThePumpEndsAStalledSend) {
  ScriptServer server({Hang()});
  TSocketClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.Connect();
  int pumped = 0;
  client.Pump = [&] {
    if (++pumped == 50) client.Abort();
  };
  // The server reads, but far more than the buffers hold keeps the send
  // waiting long enough for the pump to run.
  const std::string big(64 << 20, 'x');
  EXPECT_EQ(ErrorText<TSocketAbort>([&] { client.SendStream(big); }), "Socket send aborted");
  client.Disconnect();
}

TEST(SocketClientTest, ATimeLimitEndsWaits) {
  ScriptServer server({Hang()});
  TSocketClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.TimeOut = 50;
  client.Connect();
  EXPECT_EQ(ErrorText<TSocketAbort>([&] { client.ReadLn(); }), "Socket readln aborted");
  client.Disconnect();
}

TEST(SocketClientTest, WritingToAClosedConnectionRaisesInsteadOfKilling) {
  std::signal(SIGPIPE, SIG_DFL);  // a SIGPIPE would end this test program
  ScriptServer server({CloseNow()});
  TSocketClient client;
  client.Host = "127.0.0.1";
  client.Port = server.Port();
  client.Connect();
  while (!server.Finished()) client.ReadLn();
  const std::string chunk(4096, 'x');
  std::string error;
  for (int i = 0; i < 100 && error.empty(); ++i)
    error = ErrorText<TSocketError>([&] { client.Write(chunk); });
  EXPECT_EQ(error, "10054:Connection reset by peer");
  EXPECT_EQ(ErrorText<TSocketError>([&] {
              client.Disconnect();
              client.CheckConnection();
            }),
            "Not Connected");
}

}  // namespace
}  // namespace vistrel

#include "mail/server_field.h"

namespace vistrel {
namespace {

TEST(ServerFieldTest, HostAndPortForms) {
  struct Case {
    const char* field;
    const char* host;
    int port;
  } cases[] = {{"mail.example.org", "mail.example.org", 25},
               {"mail.example.org:2525", "mail.example.org", 2525},
               {" 127.0.0.1:587 ", "127.0.0.1", 587},
               {"::1", "::1", 25},
               {"[::1]:2525", "::1", 2525},
               {"[::1]", "::1", 25}};
  for (const Case& c : cases) {
    const TServerAddress a = ParseServerField(c.field);
    EXPECT_EQ(a.host, c.host) << c.field;
    EXPECT_EQ(a.port, c.port) << c.field;
  }
  for (const char* bad : {"host:", "host:0", "host:65536", "host:25x", "[::1]x"})
    EXPECT_THROW(ParseServerField(bad), TMailError) << bad;
}

}  // namespace
}  // namespace vistrel
