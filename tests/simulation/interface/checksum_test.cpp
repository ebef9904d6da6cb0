// MTPChecksum on real code files.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>
#include <temp_dir.h>

#include "encoding.h"
#include "target_client.h"

using namespace k42test;

namespace {

struct Sum {
  int32_t result;
  std::string text;
};

Sum Checksum(const std::string& path, int32_t words, int32_t type = 16) {
  char out[16] = "untouched";
  int32_t result = Stdk::Get().MTPChecksum(type, path.c_str(), out, words);
  return {result, out};
}

}  // namespace

TEST(MTPChecksum, WorkedValues) {
  testsupport::TempDir dir;
  dir.write("empty.bin", "");
  dir.write("one.bin", std::string("\x12\x34", 2));
  dir.write("odd.bin", std::string("\x12\x34\x56", 3));
  EXPECT_EQ(Checksum(dir.file("empty.bin"), 0).text, "FFFF");
  EXPECT_EQ(Checksum(dir.file("empty.bin"), 0).result, 0);
  EXPECT_EQ(Checksum(dir.file("empty.bin"), 1).text, "0482");
  EXPECT_EQ(Checksum(dir.file("empty.bin"), 2).text, "F6FB");
  EXPECT_EQ(Checksum(dir.file("empty.bin"), -5).text, "FFFF") << "no padding";
  EXPECT_EQ(Checksum(dir.file("one.bin"), 1).text, "16B6");
  EXPECT_EQ(Checksum(dir.file("one.bin"), 4).text, "434B");
  EXPECT_EQ(Checksum(dir.file("one.bin"), 4).result, 1);
  EXPECT_EQ(Checksum(dir.file("odd.bin"), 4).text, "434B");
  EXPECT_EQ(Checksum(dir.file("odd.bin"), 4).result, 1);
  EXPECT_EQ(Checksum(dir.file("ONE.BIN"), 1).text, "16B6") << "found without case";
}

TEST(MTPChecksum, AllWordsOfTheFileEnterTheSignature) {
  testsupport::TempDir dir;
  std::vector<uint16_t> words;
  for (int i = 0; i < 5000; ++i) words.push_back(static_cast<uint16_t>(i * 2654435761u));
  dir.write("big.bin", ImageBytes(words));
  Sum fewer = Checksum(dir.file("big.bin"), 16);
  Sum exact = Checksum(dir.file("big.bin"), 5000);
  EXPECT_EQ(fewer.result, 5000);
  EXPECT_EQ(fewer.text, exact.text);
  EXPECT_NE(Checksum(dir.file("big.bin"), 5001).text, exact.text);
}

TEST(MTPChecksum, AFileBeyondTheRomAndEveryImageEntersByItsHead) {
  testsupport::TempDir dir;
  dir.write("head.bin", std::string(32768, '\x5A'));
  dir.write("huge.bin", std::string(32772, '\x5A'));
  ASSERT_EQ(truncate(dir.file("huge.bin").c_str(), off_t{9} << 29), 0);  // 4.5 GiB, sparse
  EXPECT_EQ(Checksum(dir.file("huge.bin"), 4).result, 16384);
  EXPECT_EQ(Checksum(dir.file("huge.bin"), 4).text, Checksum(dir.file("head.bin"), 4).text);
  EXPECT_EQ(Checksum(dir.file("huge.bin"), 16386).result, 16386);  // a larger ROM: its words
}

TEST(MTPChecksum, FailuresLeaveTheOutputAlone) {
  testsupport::TempDir dir;
  dir.write("a.bin", "ab");
  EXPECT_EQ(Checksum(dir.file("a.bin"), 4, 8).result, -1);
  EXPECT_EQ(Checksum(dir.file("a.bin"), 4, 8).text, "untouched");
  EXPECT_EQ(Checksum(dir.file("none.bin"), 4).result, -2);
  EXPECT_EQ(Checksum(dir.file("none.bin"), 4).text, "untouched");
  ASSERT_EQ(mkfifo(dir.file("pipe.bin").c_str(), 0600), 0);  // no writer: at once
  EXPECT_EQ(Checksum(dir.file("pipe.bin"), 4).result, -2);
  EXPECT_EQ(Checksum(dir.path(), 4).result, -2);
  // Held exclusively by another program.
  int fd = open(dir.file("a.bin").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  pid_t child = fork();
  if (child == 0) {
    int cfd = open(dir.file("a.bin").c_str(), O_RDONLY);
    flock(cfd, LOCK_EX);
    sleep(5);
    _exit(0);
  }
  // Wait for the child's lock.
  for (int i = 0; i < 500 && flock(fd, LOCK_SH | LOCK_NB) == 0; ++i) {
    flock(fd, LOCK_UN);
    usleep(10000);
  }
  EXPECT_EQ(Checksum(dir.file("a.bin"), 4).result, -2);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(fd);
  EXPECT_EQ(Checksum(dir.file("a.bin"), 1).result, 1);
}
