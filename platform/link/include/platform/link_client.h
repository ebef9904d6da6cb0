#pragma once
// Client end of the build-output link (plain POSIX, no toolkit).
#include <string>

namespace platform {

class LinkClient {
 public:
  LinkClient() = default;
  ~LinkClient();
  LinkClient(const LinkClient&) = delete;
  LinkClient& operator=(const LinkClient&) = delete;

  // Connects to the server of (application, topic) and sets up an automatic
  // link on `item`. Fails at once when nobody listens; otherwise waits at most
  // `timeoutTenths` tenths of a second for each answer.
  bool Open(const std::string& application, const std::string& topic, const std::string& item,
            int timeoutTenths);

  // Sends one text as the item's new value and waits until the server has
  // acknowledged it. A failure or time-out closes the link: later pokes fail
  // at once without trying.
  bool Poke(const std::string& text);

  // Ends the conversation; closing a closed link does nothing.
  void Close();

  bool IsOpen() const { return fd_ >= 0; }

 private:
  bool Request(char type, const std::string& payload);
  void Drop();

  int fd_ = -1;
  int timeoutMillis_ = 0;
  std::string item_;
};

}  // namespace platform
