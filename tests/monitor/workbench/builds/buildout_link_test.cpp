// BuildOut as the server end of the real link: lines in arrival order, each
// handled before the next is sent, the program size and the ROM-size check.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "build_fixture.h"
#include "platform/link.h"
#include "platform/link_client.h"
#include "wait_until.h"
#include "workbench/build_command.h"

namespace {

using buildtest::BuildTest;
using Rows = std::vector<std::string>;

const Rows kCleanBuild = {"Corvane - K42XX Microcontroller assembler",
                           "",
                           "Assembly of /w/MAIN.ASM",
                           "",
                           "",
                           "Generating Rom characteristic file",
                           "",
                           " 0 Errors",
                           "",
                           "Prog-Size=0123",
                           ""};

TEST_F(BuildTest, CleanBuildIsListedInOrderAndSetsTheProgramSize) {
  Begin();
  monitor::BuildOut* out = LoadOut();
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->Caption(), "Output");
  EXPECT_TRUE(out->isVisible());
  EXPECT_TRUE(out->ErrorList->uniformItemSizes());
  EXPECT_EQ(out->centralWidget(), out->ErrorList);  // the list fills the client area
  EXPECT_EQ(Poke(kCleanBuild), std::vector<bool>(11, true));
  EXPECT_EQ(Lines(), kCleanBuild);
  EXPECT_EQ(state.ProgramSize, 123);
  EXPECT_EQ(out->Monlink->text(), "");

  // Only five characters are read; bytes above 127 are listed one each.
  out->ClearList();
  Poke({"Prog-Size=12345", std::string("caf\xe9 \xff")});
  EXPECT_EQ(state.ProgramSize, 1234);
  ASSERT_EQ(Lines().size(), 2u);
  EXPECT_EQ(out->ErrorList->item(1)->text(), QString::fromUtf8("caf\u00e9 \u00ff"));
  // Without an INI file or controller there is no check.
  EXPECT_TRUE(boxes.empty());

  // A poke to another item is refused: nothing is listed.
  out->ClearList();
  EXPECT_TRUE(Poke({"x"}, "Other").empty());
  EXPECT_TRUE(Lines().empty());
}

TEST_F(BuildTest, RomSizeCautionFollowsTheSizeLineBeforeTheNextLine) {
  program.write("tavix.ini", "[rom sizes]\nQV4234 = 100 words\nBIG=40000\n");
  state.ControllerName = "qv4234";  // the key is found without case
  Begin();
  LoadOut();
  Poke({"Prog-Size=0101", "after"});
  EXPECT_EQ(Lines(), (Rows{"Prog-Size=0101", "    CAUTION: Code too big for the qv4234 !!!",
                            "after"}));
  // Equal passes.
  Out()->ClearList();
  Poke({"Prog-Size=0100"});
  EXPECT_EQ(Lines(), Rows{"Prog-Size=0100"});
  // A ROM size above 16 bits compares without overflow.
  state.ControllerName = "BIG";
  Poke({"Prog-Size=9999"});
  EXPECT_EQ(Lines().size(), 2u);
  state.ProgramSize = 4097;
  program.write("tavix.ini", "[ROM Sizes]\nBIG=4096\n");
  monitor::CheckRomSize(state);
  EXPECT_EQ(Lines().back(), "    CAUTION: Code too big for the BIG !!!");
  // No key, no controller, no file: nothing.
  Out()->ClearList();
  for (const char* controller : {"QV4124", ""}) {
    state.ControllerName = controller;
    monitor::CheckRomSize(state);
  }
  unlink(program.file("tavix.ini").c_str());
  state.ControllerName = "BIG";
  monitor::CheckRomSize(state);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(BuildTest, ConversationsAtOnceAreEachListedInFullAndClosingStopsTheService) {
  Begin();
  LoadOut();
  std::atomic<int> finished{0};
  std::vector<std::thread> clients;
  for (const std::string name : {"a", "b"}) {
    clients.emplace_back([name, &finished] {
      platform::LinkClient link;
      if (link.Open("TAVIX", "BuildOut", "Monlink", 50))
        for (int i = 0; i < 200; ++i) link.Poke(name + std::to_string(i));
      ++finished;
    });
  }
  EXPECT_TRUE(testsupport::WaitUntil([&] { return finished == 2; }, 10000));
  for (std::thread& t : clients) t.join();
  Rows seen[2];
  for (const std::string& line : Lines()) seen[line[0] - 'a'].push_back(line.substr(1));
  for (const Rows& own : seen) {
    ASSERT_EQ(own.size(), 200u);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(own[static_cast<size_t>(i)], std::to_string(i));
  }

  // A conversation open while the window closes: its next poke fails at once,
  // and a new one finds nobody.
  platform::LinkClient held;
  std::atomic<bool> opened{false}, unloaded{false}, poked{true};
  std::thread client([&] {
    opened = held.Open("TAVIX", "BuildOut", "Monlink", 50);
    while (!unloaded) std::this_thread::yield();
    poked = held.Poke("late");
  });
  EXPECT_TRUE(testsupport::WaitUntil([&] { return opened.load(); }, 5000));
  EXPECT_EQ(Out()->Conversations(), 1);
  EXPECT_TRUE(state.Forms.Unload("BuildOut"));
  unloaded = true;
  client.join();
  EXPECT_FALSE(poked);
  platform::LinkClient later;
  EXPECT_FALSE(later.Open("TAVIX", "BuildOut", "Monlink", 50));
  struct stat info {};
  EXPECT_NE(lstat(platform::LinkSocketPath("TAVIX", "BuildOut").c_str(), &info), 0);
}

TEST_F(BuildTest, LinkThatCannotListenIsSaidAndTheBuildStillStarts) {
  // The link folder is a symbolic link: unsafe, so nobody listens.
  const std::string folder = files.file("real");
  mkdir(folder.c_str(), 0700);
  ASSERT_EQ(symlink(folder.c_str(), files.file("link").c_str()), 0);
  // A stand-in assembler that leaves its argument in a file.
  program.write("K42xxasm", "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.args\"\n");
  chmod(program.file("K42xxasm").c_str(), 0700);
  state.SourceFile = "main.asm";
  state.ProjectFile = "/p/demo.prj";
  Begin();
  setenv("TAVIX_LINK_DIR", files.file("link").c_str(), 1);
  Click("buildprojmnu");
  const Rows expected{"Build output link not available: " + files.file("link")};
  EXPECT_EQ(Lines(), expected);
  EXPECT_TRUE(
      testsupport::WaitUntil([&] { return !testsupport::ReadFile(program.file("K42xxasm.args")).empty(); }, 5000));
  EXPECT_EQ(testsupport::ReadFile(program.file("K42xxasm.args")), "/D/s/p/main");
  // Built again: cleared, and said again.
  Click("buildprojmnu");
  EXPECT_EQ(Lines(), expected);
  EXPECT_FALSE(Out()->LinkAvailable());
  setenv("TAVIX_LINK_DIR", link.path().c_str(), 1);
}

}  // namespace
