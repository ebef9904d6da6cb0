#pragma once
// The device end of the serial test rig: a pseudo-terminal pair in raw mode
// and the modem-line side channel (platform/comm_side_channel.h), served by a
// thread of its own so the device behaves like hardware whatever the host's
// waits do.
//
// A test puts Endpoint() into $TAVIX_COM<n>; opening that port attaches the
// host and hands it the pty's slave side. A second host is refused.
//
// Every method is thread-safe. The handlers and the After() actions run on the
// device thread without the device's lock held, so they may call back in.
//
//   testdevices::SerialDevice device;
//   setenv("TAVIX_COM1", device.Endpoint().c_str(), 1);
//   device.SetCd(true);         // one record, CD counter + 1
//   device.PulseCd();           // CD counter + 2, level unchanged
//   device.SetHold(true);       // the host keeps written bytes queued
//   device.Received();          // bytes from the host (without a bytes handler)
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testdevices {

class SerialDevice {
 public:
  struct Handlers {
    std::function<void(const uint8_t* data, size_t size)> bytes;  // host to device
    std::function<void(bool dtr, bool rts)> hostLines;            // on every change
    std::function<void(bool attached)> attach;                    // host came or left
  };

  SerialDevice();
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  // The socket path a test maps a COM port to.
  const std::string& Endpoint() const;
  // The pty's slave device, for opening the port as a plain terminal (no
  // modem lines, no side channel).
  const std::string& SlavePath() const;

  // Set before the host attaches (or at least before the traffic that matters).
  void SetHandlers(Handlers handlers);

  // Input lines of the host. Each change is one record; setting a line to the
  // level it has sends nothing.
  void SetCts(bool on);
  void SetDsr(bool on);
  void SetCd(bool on);
  // Two transitions of CD in one record: the level ends where it was.
  void PulseCd();
  // The device takes no bytes: the host keeps them in its queue.
  void SetHold(bool on);
  bool Cts() const;
  bool Dsr() const;
  bool Cd() const;
  bool Hold() const;

  // The host side.
  bool Attached() const;
  bool Dtr() const;  // off while no host is attached
  bool Rts() const;
  int HostRate() const;  // as the host set it on the pty, custom rates included
  // Refuses every new host (a device in use elsewhere).
  void SetRefuseHosts(bool refuse);

  // Bytes to the host, in order; queued when the pty is full.
  void Write(const uint8_t* data, size_t size);
  void Write(const std::vector<uint8_t>& data) { Write(data.data(), data.size()); }
  // Bytes from the host so far, when no bytes handler is set; the call empties them.
  std::vector<uint8_t> Received();
  // Returns once the device has taken and handled every byte the host wrote
  // before the call.
  void Settle();

  // Runs `action` on the device thread after `ms` milliseconds; returns an id
  // for Cancel.
  int After(int ms, std::function<void()> action);
  void Cancel(int id);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace testdevices
