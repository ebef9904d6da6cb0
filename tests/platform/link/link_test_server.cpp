#include "link_test_server.h"

#include <chrono>

#include "platform/link_server.h"

namespace testsupport {

LinkTestServer::LinkTestServer(const std::string& application, const std::string& topic,
                               const std::string& item) {
  thread_ = std::thread(&LinkTestServer::run, this, application, topic, item);
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return ready_; });
}

LinkTestServer::~LinkTestServer() {
  stop_ = true;
  thread_.join();
}

void LinkTestServer::run(std::string application, std::string topic, std::string item) {
  platform::LinkServer server;
  bool ok = server.Listen(application, topic, {item},
                          [this](const std::string&, const std::string& text) {
                            if (int stall = stallMillis_; stall > 0)
                              std::this_thread::sleep_for(std::chrono::milliseconds(stall));
                            std::lock_guard<std::mutex> lock(mutex_);
                            lines_.push_back(text);
                            changed_.notify_all();
                            return true;
                          });
  {
    std::lock_guard<std::mutex> lock(mutex_);
    listening_ = ok;
    ready_ = true;
    changed_.notify_all();
  }
  while (ok && !stop_) {
    server.ProcessEvents(10);
    clients_ = server.ClientCount();
  }
}

std::vector<std::string> LinkTestServer::lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

bool LinkTestServer::waitForLines(size_t count, int millis) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(millis),
                           [&] { return lines_.size() >= count; });
}

}  // namespace testsupport
