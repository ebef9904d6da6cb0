// The custom-speed call. The kernel header that defines termios2 clashes with
// <termios.h>, so this file includes only that one.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include "platform/tty.h"

namespace platform {
namespace {

int StandardRate(unsigned cbaud) {
  switch (cbaud) {
    case B110:
      return 110;
    case B300:
      return 300;
    case B600:
      return 600;
    case B1200:
      return 1200;
    case B2400:
      return 2400;
    case B4800:
      return 4800;
    case B9600:
      return 9600;
    case B19200:
      return 19200;
    case B38400:
      return 38400;
    case B57600:
      return 57600;
    case B115200:
      return 115200;
    default:
      return 0;
  }
}

}  // namespace

bool SetCustomTtyRate(int fd, int baud) {
  termios2 t;
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  t.c_ospeed = t.c_ispeed = static_cast<speed_t>(baud);
  return ioctl(fd, TCSETS2, &t) == 0;
}

int TtyRate(int fd) {
  termios2 t;
  if (ioctl(fd, TCGETS2, &t) != 0) return 0;
  unsigned cbaud = t.c_cflag & CBAUD;
  return cbaud == BOTHER ? static_cast<int>(t.c_ospeed) : StandardRate(cbaud);
}

}  // namespace platform
