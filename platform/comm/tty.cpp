// Raw mode and the character format of a terminal device.
#include "platform/tty.h"

#include <termios.h>

namespace platform {
namespace {

speed_t PosixSpeed(int baud) {
  switch (baud) {
    case 110:
      return B110;
    case 300:
      return B300;
    case 600:
      return B600;
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return B0;
  }
}

}  // namespace

bool MakeRawTty(int fd) {
  termios t;
  if (tcgetattr(fd, &t) != 0) return false;
  cfmakeraw(&t);
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS | CSIZE | PARENB | CSTOPB);
  t.c_cflag |= CS8 | CLOCAL | CREAD | HUPCL;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

bool ApplySerialFormat(int fd, const SerialFormat& f) {
  termios t;
  if (tcgetattr(fd, &t) != 0) return false;
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
  t.c_cflag |= f.dataBits == 5 ? CS5 : f.dataBits == 6 ? CS6 : f.dataBits == 7 ? CS7 : CS8;
  if (f.parity != 'N') t.c_cflag |= PARENB | (f.parity == 'O' ? PARODD : 0);
  if (f.stopBits == 2) t.c_cflag |= CSTOPB;
  speed_t speed = PosixSpeed(f.baud);
  if (speed != B0 && cfsetspeed(&t, speed) != 0) return false;
  if (tcsetattr(fd, TCSANOW, &t) != 0) return false;
  if (speed == B0 && !SetCustomTtyRate(fd, f.baud)) return false;
  return TtyRate(fd) == f.baud;
}

}  // namespace platform
