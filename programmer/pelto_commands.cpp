// Commands that the programmer carries out on its own: the command byte is
// written, then the command byte is polled once per poll period until the
// command's bits are clear.
#include <QCoreApplication>

#include "pelto.h"
#include "pelto_panel.h"

namespace pelto {

short Pelto::WaitCommand(uint8_t command, int progressMax, uint8_t mask, int pollLimit,
                         const char* statusText, bool pollAtOnce) {
  PeltoPanel& p = *panel_;
  if (SendFrame(CommandFrame(command)) < 0) {
    UpdateState(4, 0);
    return -1;
  }
  p.Text_Status->setText(statusText);
  p.ProgBar->setRange(0, progressMax);
  p.ProgBar->setValue(0);
  const auto finish = [&](short result) {
    StopGeneralTimer();
    p.ProgBar->setValue(0);
    p.Text_Status->setText("");
    return result;
  };
  StartGeneralTimer(3, timings_.poll);
  if (pollAtOnce) gralTimedOut_ = true;
  for (int polls = 0;;) {
    if (!Wait([] { return false; }, gralTimedOut_)) {
      StopGeneralTimer();
      // A link that dropped while the programmer works ends the wait.
      if (!RS232.PortOpen() || LineIsDown()) {
        finish(-1);
        UpdateState(4, 0);
        return -1;
      }
      ++polls;
      p.ProgBar->setValue(std::min(p.ProgBar->value() + 1, progressMax));
      QByteArray answer;
      if (read_PELTO_data(kCommandAddress, 1, answer) != 0 || answer.isEmpty()) {
        return finish(-1);
      }
      if ((static_cast<uint8_t>(answer[0]) & mask) == 0) return finish(0);
      if (polls == pollLimit) return finish(-1);
      StartGeneralTimer(3, timings_.poll);
    }
  }
}

// Programming gives up after ten times its progress maximum. A link that
// failed on the way has already left the panel not connected; a programmer
// that answers but never finishes gets the failure look and a message.
short Pelto::ProgramDevice() {
  const int max = nbOfBlocks_ * 5;
  const short result =
      WaitCommand(kCommandProgram, max, 0x02, std::max(max * 10, 10), "programming device...",
                  false);
  if (result != 0 && state_ != 0) ShowProgrammingFailed();
  return result;
}

// The programmer's CRC gives up after ten times its progress maximum: a
// programmer that never finishes it is a failed link.
short Pelto::RequestRAMCRC() {
  const short result = WaitCommand(kCommandRamCrc, 10, 0xFF, 100, "requesting programmer CRC...",
                                   false);
  if (result != 0 && state_ != 0) UpdateState(4, 0);
  return result;
}

short Pelto::RequestDevCRC() {
  return WaitCommand(kCommandDeviceCrc, 3, 0x04, 10, "Reading Device CRC...", false);
}

short Pelto::RequestLastInstruction() {
  if (SendFrame(WriteFrame(kLastInstructionAddress, {0x80, 0x80, 0x80, 0x80})) < 0) {
    UpdateState(4, 0);
    return -1;
  }
  return WaitCommand(kCommandLastInstruction, 3, 0x03, 10, "Reading Last Instruction...", true);
}

}  // namespace pelto
