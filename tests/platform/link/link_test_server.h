#pragma once
// A build-output link server on a thread of its own, for tests: it records
// every poked line and can be told to stall before acknowledging.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class LinkTestServer {
 public:
  // Listens on (application, topic) with the item "Monlink" by default, in the
  // folder named by $TAVIX_LINK_DIR (set it before).
  LinkTestServer(const std::string& application = "TAVIX", const std::string& topic = "BuildOut",
                 const std::string& item = "Monlink");
  ~LinkTestServer();

  bool listening() const { return listening_; }

  // The lines poked so far.
  std::vector<std::string> lines() const;

  // Waits until at least `count` lines arrived or `millis` passed.
  bool waitForLines(size_t count, int millis) const;

  // From now on every poke waits `millis` before it is acknowledged.
  void stallPokes(int millis) { stallMillis_ = millis; }

  // Number of clients whose conversation is open now.
  int clientCount() const { return clients_; }

 private:
  void run(std::string application, std::string topic, std::string item);

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<std::string> lines_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> listening_{false};
  std::atomic<int> stallMillis_{0};
  std::atomic<int> clients_{0};
  bool ready_ = false;
  std::thread thread_;
};

}  // namespace testsupport
