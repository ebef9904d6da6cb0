#pragma once
// The requests both hosts make of the device programmer over a serial port:
// a read at an address, the parameter block, the image and a command polled
// to its end. A host gives its port and its send (with its own pacing and
// messages) and, per request, its time limit and poll steps; what it shows
// stays its own. The port's own errors pass through.
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/serial_exchange.h"
#include "platform/serial_port.h"
#include "protocol/frames.h"
#include "protocol/image.h"

namespace protocol {

class ProgrammerExchange {
 public:
  // Sends a whole frame; false when it failed (the host has said why).
  using Sender = std::function<bool(const Bytes& frame)>;

  ProgrammerExchange(platform::SerialPort& port, Sender send)
      : port_(port), send_(std::move(send)) {}

  // The read request, then `count` bytes within `limit`; every byte in by
  // then is taken. Nothing when the answer did not come in time, or when the
  // request was not sent and `awaitUnsent` is false.
  std::optional<Bytes> Read(uint16_t address, int count, platform::StepLimit& limit,
                            bool awaitUnsent = false,
                            const platform::Pump& pump = platform::PumpEvents);

  bool SendParameters(const Parameters& parameters) { return send_(ParameterFrame(parameters)); }

  enum class ImageEnd { kSent, kUnsent, kDataBroken };
  // The image header and its data: as one frame, or, `bytewise`, the header
  // and then one send per data byte (a failed byte is kDataBroken).
  ImageEnd SendImage(const Bytes& file, const ImageShape& shape, bool bytewise);

  // The command written, then its register polled until the mask's bits
  // are clear; nothing when the command was not sent.
  std::optional<platform::PollEnd> RunCommand(uint8_t command, uint8_t mask, int limit,
                                              const platform::PollSteps& steps);

 private:
  platform::SerialPort& port_;
  Sender send_;
};

}  // namespace protocol
