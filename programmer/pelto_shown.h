#pragma once
// What the control's panel shows, as its logic decides it. The logic writes
// the fields and names the part it changed; the widget draws that part (in
// the order the logic names them, so the last change wins). Tests read the
// fields without a widget.
#include <functional>
#include <string>

namespace pelto {

// Colours as the control keeps them (red + green * 256 + blue * 65536).
inline constexpr long kBlack = 0, kNavy = 0x800000, kOlive = 0x8080, kRed = 0xFF;

// Which controls are enabled: not connected, idle (the chip buttons follow
// the chip), busy with a task or held by a caller (everything disabled).
enum class PanelLook { NotConnected, Idle, Busy };
enum class Light { Red, Yellow, Green };
enum class ChipShown { Unknown, None, Present };

struct PeltoShown {
  enum class Part {
    Look, Light, Chip, Connected, Status, Crc, LastInstruction, Mode, Progress, File,
    ConnectButton, SpeedFrames, SpeedChoice,
  };

  PanelLook look = PanelLook::NotConnected;
  bool chipButtons = false;  // Program, Read Device CRC and Last Instr. (Look, Chip)
  Light light = Light::Yellow;
  ChipShown chip = ChipShown::Unknown;
  bool connected = false;
  std::string status;
  long statusColor = kBlack;
  std::string crcMaster, crcBox, crcDevice;
  long crcDeviceColor = kBlack;
  std::string lastInstruction;
  bool standAlone = false;  // Mode
  int progressMax = 100, progress = 0;
  std::string message, progSize;  // File: the file handling's line and program size
  long messageColor = kBlack;
  bool connectEnabled = true;  // ConnectButton
  int speed = 0;               // SpeedChoice: the clock index chosen
  // SpeedFrames enables the speed and voltage frames.

  std::function<void(Part)> changed;
  void Show(Part part) const {
    if (changed) changed(part);
  }
};

}  // namespace pelto
