// errno of real failed file operations to the monitor's file-error numbers.
#include "platform/file_errors.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "platform/read_file.h"
#include "temp_dir.h"

namespace {

int ErrnoOfOpen(const std::string& path, int flags) {
  errno = 0;
  const int fd = open(path.c_str(), flags, 0600);
  if (fd >= 0) close(fd);
  return fd >= 0 ? 0 : errno;
}

TEST(FileErrors, RealFailuresMapToTheirNumbers) {
  testsupport::TempDir dir;
  dir.write("plain", "x");
  EXPECT_EQ(platform::FileErrorNumberOf(ErrnoOfOpen(dir.file("missing"), O_RDONLY)), 53);
  EXPECT_EQ(platform::FileErrorNumberOf(ErrnoOfOpen(dir.file("plain/below"), O_RDONLY)), 76);
  EXPECT_EQ(platform::FileErrorNumberOf(ErrnoOfOpen(dir.path(), O_WRONLY)), 75);  // a folder
  EXPECT_EQ(platform::FileErrorNumberOf(ErrnoOfOpen(dir.file(std::string(5000, 'n')), O_RDONLY)),
            64);
  EXPECT_EQ(platform::FileErrorNumberOf(EIO), 57);
  EXPECT_EQ(platform::FileErrorNumberOf(EBUSY), 55);
  EXPECT_EQ(platform::FileErrorNumberOf(ENXIO), 68);
  const platform::RunTimeError error = platform::FileError(ENOENT, "/x/a.asm");
  EXPECT_EQ(error.Number(), 53);
  EXPECT_EQ(error.Description().rfind("/x/a.asm: ", 0), 0u);
}

TEST(FileErrors, AMissingFileIsAMissingPathWhenItsFolderIsMissingToo) {
  testsupport::TempDir dir;
  std::string content = "stale";
  int error = 0;
  EXPECT_FALSE(platform::ReadWholeFile(dir.file("none/a.prj"), content, &error));
  EXPECT_EQ(platform::FileErrorNumberOf(error, dir.file("none/a.prj")), 76);
  EXPECT_FALSE(platform::ReadWholeFile(dir.file("a.prj"), content, &error));
  EXPECT_EQ(platform::FileErrorNumberOf(error, dir.file("a.prj")), 53);
  EXPECT_EQ(platform::FileErrorNumberOf(error, "a.prj"), 53);  // the current folder
  // A folder read as a file names its own reason; the content is emptied.
  EXPECT_FALSE(platform::ReadWholeFile(dir.path(), content, &error));
  EXPECT_EQ(error, EISDIR);
  EXPECT_EQ(content, "");
  EXPECT_EQ(platform::FileErrorNumberOf(EACCES, dir.file("none/a.prj")), 75);
}

}  // namespace
