// BuildOut as the server end of the real link: lines in arrival order, each
// handled before the next is sent, the program size and the ROM-size check;
// what the build commands say when they cannot build.
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
using buildtest::Rows;

TEST_F(BuildTest, LinesAreListedInOrderAndSizeLinesAreChecked) {
  program.write("tavix.ini", "[rom sizes]\nQV4234 = 100 words\nBIG=40000\n");
  state.ControllerName = "qv4234";  // the key is found without case
  Begin();
  monitor::BuildOut* out = LoadOut();
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->Caption(), "Output");
  EXPECT_TRUE(out->isVisible());
  EXPECT_TRUE(out->ErrorList->uniformItemSizes());
  const Rows clean = {"Corvane - K42XX Microcontroller assembler",
                      "",
                      "Assembly of /w/MAIN.ASM",
                      "",
                      "",
                      "Generating Rom characteristic file",
                      "",
                      " 0 Errors",
                      "",
                      "Prog-Size=0100",
                      ""};
  EXPECT_EQ(Poke(clean), std::vector<bool>(11, true));
  EXPECT_EQ(Lines(), clean);  // equal to the ROM size passes
  EXPECT_EQ(state.ProgramSize, 100);

  // The caution comes right after its line; bytes above 127 are one
  // character each.
  out->ClearList();
  Poke({"Prog-Size=12345", std::string("caf\xe9")});
  EXPECT_EQ(state.ProgramSize, 1234);
  EXPECT_EQ(Lines(),
            (Rows{"Prog-Size=12345", "    CAUTION: Code too big for the qv4234 !!!", "caf\u00e9"}));
  // A ROM size above 16 bits; no key, no controller, no file: no caution.
  out->ClearList();
  for (const char* controller : {"BIG", "QV4124", ""}) {
    state.ControllerName = controller;
    Poke({"Prog-Size=9999"});
  }
  unlink(program.file("tavix.ini").c_str());
  state.ControllerName = "QV4234";
  monitor::CheckRomSize(state);
  EXPECT_EQ(Lines(), Rows(3, "Prog-Size=9999"));
  // A poke to another item is refused.
  EXPECT_TRUE(Poke({"x"}, "Other").empty());
  EXPECT_EQ(Lines().size(), 3u);
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

  // The window closes under an open conversation: its next poke fails at
  // once, and nobody listens any more.
  platform::LinkClient held;
  std::atomic<bool> opened{false}, unloaded{false}, poked{true};
  std::thread client([&] {
    opened = held.Open("TAVIX", "BuildOut", "Monlink", 50);
    while (!unloaded) std::this_thread::yield();
    poked = held.Poke("late");
  });
  EXPECT_TRUE(testsupport::WaitUntil([&] { return opened.load(); }, 5000));
  EXPECT_TRUE(state.Forms.Unload("BuildOut"));
  unloaded = true;
  client.join();
  EXPECT_FALSE(poked);
  platform::LinkClient later;
  EXPECT_FALSE(later.Open("TAVIX", "BuildOut", "Monlink", 50));
  struct stat info {};
  EXPECT_NE(lstat(platform::LinkSocketPath("TAVIX", "BuildOut").c_str(), &info), 0);
}

TEST_F(BuildTest, BuildProjectSaysWhyItCannotBuildOrThatTheLinkIsMissing) {
  Begin();
  Click("buildprojmnu");
  state.SourceFile = "/p/main.txt";
  Click("buildprojmnu");
  EXPECT_EQ(boxes, (Rows{"Tavix|No Source file defined for the current project|0",
                         "Tavix|Source file must have the extension <.ASM>|0"}));
  EXPECT_EQ(Out(), nullptr);
  // No assembler in the program folder: the window opens, cleared, silent.
  state.SourceFile = "main.asm";
  state.ProjectFile = "/p/demo.prj";
  LoadOut()->AddLine("old");
  Click("buildprojmnu");
  EXPECT_TRUE(Out()->isVisible());
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(boxes.size(), 2u);

  // A link folder that is a symbolic link is unsafe: nobody listens, the list
  // says so after each clear, and the build still starts (here a stand-in
  // that leaves its argument in a file).
  state.Forms.Unload("BuildOut");
  const std::string folder = files.file("real");
  mkdir(folder.c_str(), 0700);
  ASSERT_EQ(symlink(folder.c_str(), files.file("link").c_str()), 0);
  setenv("TAVIX_LINK_DIR", files.file("link").c_str(), 1);
  program.write("K42xxasm", "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.args\"\n");
  chmod(program.file("K42xxasm").c_str(), 0700);
  for (int build = 0; build < 2; ++build) {
    Click("buildprojmnu");
    EXPECT_EQ(Lines(), Rows{"Build output link not available: " + files.file("link")});
  }
  const std::string args = program.file("K42xxasm.args");
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !testsupport::ReadFile(args).empty(); }, 5000));
  EXPECT_EQ(testsupport::ReadFile(args), "/D/s/p/main");
  setenv("TAVIX_LINK_DIR", link.path().c_str(), 1);
}

}  // namespace
