#include "dcs_stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include "dcs/dcs.h"

DcsStream* DcsStream::Open(const std::string& path, const char* mode) {
  return Wrap(std::fopen(path.c_str(), mode));
}

DcsStream* DcsStream::Adopt(int descriptor, const char* mode) {
  FILE* file = fdopen(descriptor, mode);
  if (!file) close(descriptor);
  return Wrap(file);
}

DcsStream* DcsStream::Wrap(FILE* file) {
  if (!file) return nullptr;
  // A folder opens for reading on Linux; the library wants files only.
  struct stat info;
  if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
    std::fclose(file);
    return nullptr;
  }
  return new DcsStream(file);
}

DcsStream::DcsStream(FILE* file) : file_(file) {
  std::setvbuf(file_, buffer_, _IOFBF, kBufferSize);
}

DcsStream::~DcsStream() {
  Close();
}

size_t DcsStream::Read(void* data, size_t size) {
  return file_ ? fread_unlocked(data, 1, size, file_) : 0;
}

size_t DcsStream::Write(const void* data, size_t size) {
  return file_ ? fwrite_unlocked(data, 1, size, file_) : 0;
}

bool DcsStream::Seek(int64_t offset, int whence) {
  return file_ && fseeko(file_, static_cast<off_t>(offset), whence) == 0;
}

int64_t DcsStream::Tell() {
  return file_ ? static_cast<int64_t>(ftello(file_)) : -1;
}

int64_t DcsStream::Size() {
  struct stat info;
  if (!file_ || std::fflush(file_) != 0 || fstat(fileno(file_), &info) != 0) return -1;
  return static_cast<int64_t>(info.st_size);
}

bool DcsStream::Eof() {
  return !file_ || std::feof(file_);
}
bool DcsStream::Flush() {
  return file_ && std::fflush(file_) == 0;
}
bool DcsStream::Error() {
  return !file_ || std::ferror(file_);
}
int DcsStream::Descriptor() {
  return file_ ? fileno(file_) : -1;
}

bool DcsStream::Close() {
  if (!file_) return true;
  bool ok = !std::ferror(file_);
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  return ok;
}

DcsStream* DcsOpenStream(const char* path, const char* mode) {
  if (!path || !mode) {
    DcsSetLastError(DCS_ERR_OPEN);
    return nullptr;
  }
  DcsStream* stream = DcsStream::Open(path, mode);
  DcsSetLastError(stream ? DCS_OK : DCS_ERR_OPEN);
  return stream;
}

DcsStream* DcsAdoptStream(int descriptor, const char* mode) {
  DcsStream* stream = nullptr;
  if (descriptor >= 0 && !mode) close(descriptor);
  if (descriptor >= 0 && mode) stream = DcsStream::Adopt(descriptor, mode);
  DcsSetLastError(stream ? DCS_OK : DCS_ERR_OPEN);
  return stream;
}

int DcsCloseStream(DcsStream* stream) {
  if (!stream) return DcsSetLastError(DCS_ERR_HANDLE), 0;
  bool ok = stream->Close();
  delete stream;
  DcsSetLastError(ok ? DCS_OK : DCS_ERR_WRITE);
  return ok ? 1 : 0;
}
