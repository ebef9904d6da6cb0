// The build-output link through real sockets: a client against the test
// server on its own thread, and the server's folder and socket handling.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "link_test_server.h"
#include "platform/link.h"
#include "platform/link_client.h"
#include "platform/link_server.h"
#include "temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

class LinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = temp_.path() + "link";
    setenv("TAVIX_LINK_DIR", folder_.c_str(), 1);
  }
  void TearDown() override { unsetenv("TAVIX_LINK_DIR"); }

  static long MillisSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
  }

  testsupport::TempDir temp_;
  std::string folder_;
};

TEST_F(LinkTest, SocketPathUsesFolderAndUpperCasedNames) {
  EXPECT_EQ(platform::LinkSocketPath("Tavix", "BuildOut"), folder_ + "/TAVIX.BUILDOUT.sock");
  unsetenv("TAVIX_LINK_DIR");
  setenv("XDG_RUNTIME_DIR", "/run/user/77", 1);
  EXPECT_EQ(platform::LinkFolder(), "/run/user/77/tavix-link");
}

TEST_F(LinkTest, NobodyListeningFailsAtOnceAndPokesFail) {
  platform::LinkClient client;
  auto start = Clock::now();
  EXPECT_FALSE(client.Open("TAVIX", "BuildOut", "Monlink", 100));
  EXPECT_FALSE(client.Poke("line"));
  EXPECT_LT(MillisSince(start), 500);
  EXPECT_FALSE(client.IsOpen());
}

TEST_F(LinkTest, PokedLinesArriveInOrderAndUnchanged) {
  testsupport::LinkTestServer server;
  ASSERT_TRUE(server.listening());
  struct stat st;
  ASSERT_EQ(lstat(folder_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  platform::LinkClient client;
  ASSERT_TRUE(client.Open("tavix", "buildout", "MONLINK", 100));
  EXPECT_TRUE(client.Poke("Corvane - K42XX Microcontroller assembler"));
  EXPECT_TRUE(client.Poke(""));
  EXPECT_TRUE(client.Poke("Caf\xC3\xA9 ; line 0000 - \x01\xFF"));
  client.Close();
  client.Close();
  // Each poke is acknowledged after it was handled: all three are there.
  EXPECT_EQ(server.lines(), (std::vector<std::string>{"Corvane - K42XX Microcontroller assembler",
                                                      "", "Caf\xC3\xA9 ; line 0000 - \x01\xFF"}));
}

TEST_F(LinkTest, UnknownItemOrTopicIsRefused) {
  testsupport::LinkTestServer server;
  platform::LinkClient client;
  EXPECT_FALSE(client.Open("TAVIX", "BuildOut", "Other", 10));
  EXPECT_FALSE(client.Open("TAVIX", "Elsewhere", "Monlink", 10));
  EXPECT_TRUE(server.lines().empty());
}

TEST_F(LinkTest, TimedOutPokeClosesTheLinkForGood) {
  testsupport::LinkTestServer server;
  platform::LinkClient client;
  ASSERT_TRUE(client.Open("TAVIX", "BuildOut", "Monlink", 1));
  EXPECT_TRUE(client.Poke("first"));
  server.stallPokes(600);
  auto start = Clock::now();
  EXPECT_FALSE(client.Poke("stalled"));
  EXPECT_GE(MillisSince(start), 90);
  EXPECT_FALSE(client.IsOpen());
  start = Clock::now();
  EXPECT_FALSE(client.Poke("never sent"));
  EXPECT_LT(MillisSince(start), 50);
  ASSERT_TRUE(server.waitForLines(2, 2000));
  EXPECT_EQ(server.lines(), (std::vector<std::string>{"first", "stalled"}));
}

TEST_F(LinkTest, SeveralClientsReportIntoOneServer) {
  testsupport::LinkTestServer server;
  platform::LinkClient a, b;
  ASSERT_TRUE(a.Open("TAVIX", "BuildOut", "Monlink", 100));
  ASSERT_TRUE(b.Open("TAVIX", "BuildOut", "Monlink", 100));
  EXPECT_TRUE(a.Poke("a1"));
  EXPECT_TRUE(b.Poke("b1"));
  EXPECT_TRUE(a.Poke("a2"));
  a.Close();
  EXPECT_TRUE(b.Poke("b2"));
  EXPECT_EQ(server.lines(), (std::vector<std::string>{"a1", "b1", "a2", "b2"}));
}

TEST_F(LinkTest, ServerRemovesStaleSocketRefusesSecondAndCleansUp) {
  ASSERT_EQ(mkdir(folder_.c_str(), 0700), 0);
  std::string path = platform::LinkSocketPath("TAVIX", "BuildOut");
  // A socket file left behind by a server that died.
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strcpy(addr.sun_path, path.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  close(fd);

  platform::LinkServer first;
  ASSERT_TRUE(first.Listen("TAVIX", "BuildOut", {"Monlink"}, nullptr));
  platform::LinkServer second;
  EXPECT_FALSE(second.Listen("TAVIX", "BuildOut", {"Monlink"}, nullptr));
  first.Stop();
  EXPECT_NE(access(path.c_str(), F_OK), 0);
}

TEST_F(LinkTest, ServerOnTheCallersThreadHandlesPokesBeforeAcknowledging) {
  // The client runs on a thread; the server is driven here as the monitor's
  // event loop would drive it.
  std::vector<std::string> seen;
  platform::LinkServer server;
  ASSERT_TRUE(server.Listen("TAVIX", "BuildOut", {"Monlink"},
                            [&](const std::string& item, const std::string& text) {
                              EXPECT_EQ(item, "Monlink");
                              seen.push_back(text);
                              return text != "refuse";
                            }));
  std::vector<bool> results;
  std::atomic<bool> done{false};
  std::thread client([&] {
    platform::LinkClient c;
    if (c.Open("TAVIX", "BuildOut", "Monlink", 50)) {
      results.push_back(c.Poke("Prog-Size=0018"));
      results.push_back(c.Poke("refuse"));
      results.push_back(c.Poke("after"));
    }
    done = true;
  });
  auto start = Clock::now();
  while (!done && MillisSince(start) < 3000) server.ProcessEvents(10);
  client.join();
  EXPECT_EQ(seen, (std::vector<std::string>{"Prog-Size=0018", "refuse"}));
  // A refused poke fails, and the link then stays closed.
  EXPECT_EQ(results, (std::vector<bool>{true, false, false}));
  EXPECT_FALSE(server.Descriptors().empty());
}

TEST_F(LinkTest, FolderOpenToOthersIsClosedAndForeignFileRefused) {
  ASSERT_EQ(mkdir(folder_.c_str(), 0755), 0);
  platform::LinkServer server;
  ASSERT_TRUE(server.Listen("TAVIX", "BuildOut", {"Monlink"}, nullptr));
  struct stat st;
  ASSERT_EQ(lstat(folder_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  server.Stop();
  // A plain file where the socket should be is not removed.
  std::string path = platform::LinkSocketPath("TAVIX", "BuildOut");
  testsupport::WriteFile(path, "x");
  EXPECT_FALSE(server.Listen("TAVIX", "BuildOut", {"Monlink"}, nullptr));
  EXPECT_EQ(testsupport::ReadFile(path), "x");
}

}  // namespace
