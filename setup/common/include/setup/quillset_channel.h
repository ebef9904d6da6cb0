#pragma once
// The registered message QuillsetBootstrap between processes: the loader
// listens on a local socket named from its process id; the second stage,
// its child, sends a message with a wParam (1: hide the progress window).
#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace setup {

inline constexpr const char* kQuillsetMessage = "QuillsetBootstrap";

// The socket name of the loader with process id `pid`.
std::string QuillsetServerName(long pid);

// The loader's end: calls `handler` with the wParam of every message that
// arrives while the program's events run.
class QuillsetListener {
 public:
  explicit QuillsetListener(std::function<void(unsigned long wParam)> handler);
  ~QuillsetListener();
  bool Listening() const;

 private:
  std::unique_ptr<QLocalServer> server_;
  std::function<void(unsigned long)> handler_;
};

// The second stage's end: sends the message to the loader `loaderPid`;
// false when no loader listens.
bool SendQuillsetBootstrap(long loaderPid, unsigned long wParam);

}  // namespace setup
