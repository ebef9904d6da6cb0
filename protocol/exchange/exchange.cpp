#include "protocol/exchange.h"

namespace protocol {

std::optional<Bytes> ProgrammerExchange::Read(uint16_t address, int count,
                                              platform::StepLimit& limit, bool awaitUnsent,
                                              const platform::Pump& pump) {
  if (!send_(ReadRequest(address, static_cast<uint16_t>(count))) && !awaitUnsent) return std::nullopt;
  port_.SetInputLen(0);
  return platform::ReceiveCount(port_, count, limit, pump);
}

ProgrammerExchange::ImageEnd ProgrammerExchange::SendImage(const Bytes& file,
                                                           const ImageShape& shape, bool bytewise) {
  if (!bytewise) return send_(ImageFrame(file, shape)) ? ImageEnd::kSent : ImageEnd::kUnsent;
  if (!send_(ImageHeader(shape))) return ImageEnd::kUnsent;
  for (uint8_t byte : ImageData(file, shape)) {
    if (!send_({byte})) return ImageEnd::kDataBroken;
  }
  return ImageEnd::kSent;
}

std::optional<platform::PollEnd> ProgrammerExchange::RunCommand(uint8_t command, uint8_t mask,
                                                                int limit,
                                                                const platform::PollSteps& steps) {
  if (!send_(CommandFrame(command))) return std::nullopt;
  return platform::PollUntilClear(mask, limit, steps);
}

}  // namespace protocol
