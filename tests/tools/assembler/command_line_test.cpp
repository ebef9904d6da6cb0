// The switch prefix of the command line.
#include "command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, OnlyLeadingSwitchesCountAndThePathKeepsItsCase) {
  struct Case {
    const char* text;
    bool link;
    bool hasSource;
    const char* source;
  };
  const Case cases[] = {
      {"/D/sC:\\WORK\\DEMO", true, true, "C:\\WORK\\DEMO"},
      {"/d/s c:\\work\\demo.src", true, true, "c:\\work\\demo.src"},
      {"/D/s/home/u/d/s/Prog", true, true, "/home/u/d/s/Prog"},
      {"  /D /S  /tmp/My File ", true, true, "/tmp/My File"},
      {"/s/data/demo /D", false, true, "/data/demo /D"},
      {"/D", true, false, ""},
      {"/tmp/demo", false, false, ""},
      {"", false, false, ""},
  };
  for (const Case& c : cases) {
    k42asm::CommandLine cl = k42asm::ParseCommandLine(c.text);
    EXPECT_EQ(cl.linkMode, c.link) << c.text;
    EXPECT_EQ(cl.hasSource, c.hasSource) << c.text;
    EXPECT_EQ(cl.source, c.source) << c.text;
  }
  EXPECT_TRUE(k42asm::ParseCommandLine("  ").empty);
  char a0[] = "K42xxasm", a1[] = "/D", a2[] = "/s/x/My", a3[] = "File";
  char* argv[] = {a0, a1, a2, a3};
  EXPECT_EQ(k42asm::JoinArguments(4, argv), "/D /s/x/My File");
}

}  // namespace
