#pragma once
#include <string>
#include <string_view>

namespace platform {

// A file replaced as a whole: the content goes to a temporary file in the
// target's folder, and Commit renames it over the target. Until then, or when
// any step failed, the target stays as it was; a file never committed is
// removed. Error() is the errno of the first step that failed. A commit also
// removes the temporaries that killed saves of the same file left beside it;
// those of a save still running are kept.
class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  bool Open(const std::string& path);
  bool Write(std::string_view data);
  bool Commit();
  int Error() const { return error_; }
  const std::string& Path() const { return path_; }

 private:
  bool Fail();
  void Discard();

  std::string path_, temp_;
  int fd_ = -1;
  int error_ = 0;
};

// Replaces `path` with `content` through an AtomicFile. On failure `error`,
// when given, receives the errno of the step that failed.
bool WriteFileAtomically(const std::string& path, const std::string& content,
                         int* error = nullptr);

}  // namespace platform
