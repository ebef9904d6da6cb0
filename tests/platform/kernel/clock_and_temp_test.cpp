#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/clock.h"
#include "platform/tempfiles.h"
#include "temp_dir.h"

using namespace platform;

TEST(Clock, MonotonicAndBusyWait) {
  int64_t a = MonotonicMicros();
  BusyWaitMicros(0);
  BusyWaitMicros(2000);
  int64_t b = MonotonicMicros();
  EXPECT_GE(b - a, 2000);
  SleepMillis(2);
  EXPECT_GE(MonotonicMicros() - b, 2000);
}

TEST(TempFiles, CreatedExclusivelyWithPrivateModes) {
  testsupport::TempDir dir;
  std::string f = MakeTempFile("dis", dir.path());
  ASSERT_FALSE(f.empty());
  EXPECT_EQ(f.rfind(dir.path() + "dis", 0), 0u);
  struct stat st;
  ASSERT_EQ(stat(f.c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(st.st_mode & 0077, 0u);
  EXPECT_NE(MakeTempFile("dis", dir.path()), f);

  std::string d = MakeTempFolder("work", dir.path());
  ASSERT_FALSE(d.empty());
  ASSERT_EQ(stat(d.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  EXPECT_EQ(MakeTempFile("x", dir.file("missing-folder")), "");
}
