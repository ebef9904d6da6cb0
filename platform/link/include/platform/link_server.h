#pragma once
// Server end of the build-output link. Runs on the caller's thread: the
// owner calls ProcessEvents when one of Descriptors() is readable (or polls
// it), and every poke is handed to the handler before it is acknowledged.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class LinkServer {
 public:
  // Called once per poke, in arrival order. Return false to refuse it (the
  // client then sees a failed poke).
  using PokeHandler = std::function<bool(const std::string& item, const std::string& text)>;

  LinkServer();
  ~LinkServer();
  LinkServer(const LinkServer&) = delete;
  LinkServer& operator=(const LinkServer&) = delete;

  // Offers the (application, topic) conversation with the given items. Creates
  // the link folder (mode 0700) when missing and removes a stale socket. Fails
  // when another server already listens there, or the folder is unsafe.
  bool Listen(const std::string& application, const std::string& topic,
              const std::vector<std::string>& items, PokeHandler handler);

  // Stops listening, closes every conversation and removes the socket.
  void Stop();

  bool IsListening() const;
  const std::string& SocketPath() const;

  // Accepts new clients and handles every complete request, waiting at most
  // `timeoutMillis` (0: do not wait) for the first event. Returns the number
  // of pokes handled.
  int ProcessEvents(int timeoutMillis);

  // The listening socket and the open conversations, for an event loop.
  std::vector<int> Descriptors() const;

  // Number of open conversations.
  int ClientCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
