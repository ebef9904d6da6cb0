#pragma once
// The library's file stream: every read, write, seek, tell, end-of-file test
// and close goes through it. Files are opened with a 64 KiB buffer: with
// 8 KiB, stored entries came out a fifth slower than a plain copy.
#include <cstdint>
#include <cstdio>
#include <string>

class DcsStream {
 public:
  static constexpr size_t kBufferSize = 65536;

  // Opens `path` with an fopen mode; null when it cannot be opened.
  static DcsStream* Open(const std::string& path, const char* mode);
  // Wraps an open descriptor, which it closes also when it fails.
  static DcsStream* Adopt(int descriptor, const char* mode);
  ~DcsStream();
  DcsStream(const DcsStream&) = delete;
  DcsStream& operator=(const DcsStream&) = delete;

  size_t Read(void* data, size_t size);
  size_t Write(const void* data, size_t size);
  bool Seek(int64_t offset, int whence);
  int64_t Tell();
  int64_t Size();  // the file's size now
  bool Eof();
  bool Flush();
  bool Error();
  int Descriptor();  // -1 once closed
  bool Close();      // flushes and closes; false when either failed

 private:
  explicit DcsStream(FILE* file);
  static DcsStream* Wrap(FILE* file);  // null for null or a folder
  FILE* file_;
  char buffer_[kBufferSize];
};
