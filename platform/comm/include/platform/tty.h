#pragma once
// Terminal-device helpers shared by the serial port and the test rig's device
// end: raw mode, the character format and the rate, custom rates included.
#include <string>

namespace platform {

// The character format and rate of a settings text.
struct SerialFormat {
  int baud = 9600;
  char parity = 'N';  // 'N', 'E' or 'O'
  int dataBits = 8;
  int stopBits = 1;
};

// Parses "baud=9600 parity=N data=8 stop=1" or "9600,N,8,1" (blanks around
// the fields and the case of the parity letter do not matter). False for a
// text in neither form or a value outside the supported ones.
bool ParseSerialSettings(const std::string& text, SerialFormat& out);

// Raw mode: no echo, no line discipline, no flow control, CLOCAL | CREAD |
// HUPCL, VMIN 0, VTIME 0, 8 data bits. False when the fd is no terminal.
bool MakeRawTty(int fd);

// Applies format and rate to a terminal in raw mode. Rates without a POSIX
// speed constant (14400) go through the custom-speed call. False when the
// device refuses them (the rate read back differs).
bool ApplySerialFormat(int fd, const SerialFormat& format);

// Sets an arbitrary output and input rate with the custom-speed call.
bool SetCustomTtyRate(int fd, int baud);

// The rate a terminal is set to, as the custom-speed call reads it; 0 on error.
int TtyRate(int fd);

}  // namespace platform
