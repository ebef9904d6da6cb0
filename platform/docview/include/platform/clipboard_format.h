#pragma once
// A private clipboard format registered by name: one block of bytes under a
// MIME type of our own, so the system's clipboard carries it between copies
// of a program.
#include <QString>
#include <string>

namespace platform {

class ClipboardFormat {
 public:
  explicit ClipboardFormat(const std::string& name);
  const QString& MimeType() const { return mime_; }

  // The clipboard holds a block of this format.
  bool Available() const;
  // Empties the clipboard and gives it `block`.
  void Set(const std::string& block) const;
  // The block, or false when the clipboard holds none of this format.
  bool Get(std::string& block) const;

 private:
  QString mime_;
};

}  // namespace platform
