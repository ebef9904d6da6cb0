#pragma once
// The durations of the control's waits and timers, in milliseconds, with
// their defaults; tests and benchmarks scale them down.
#include <algorithm>

namespace pelto {

struct PeltoTimings {
  int send = 1000;         // one byte leaving the port
  int read = 1000;         // a whole answer arriving
  int cts = 200;           // CTS after opening the port
  int poll = 1000;         // a command poll, the socket poll
  int autoStart = 100;     // the step from the poll to an automatic action
  int autoCrcPoll = 1500;  // the poll before an automatic CRC
  int fileWait = 10000;    // a converted file appearing or going

  // Every duration at `percent` % (at least 1 ms). Shortened runs (tests,
  // benchmarks) keep every time-out at one second at least: only a failing
  // programmer ever waits one out, and a loaded machine may need that long to
  // answer a healthy one.
  static PeltoTimings Scaled(int percent) {
    constexpr int kShortestTimeout = 1000;
    PeltoTimings t;
    for (int* field : {&t.send, &t.read, &t.cts, &t.poll, &t.autoStart, &t.autoCrcPoll,
                       &t.fileWait}) {
      const bool timeout = field == &t.send || field == &t.read || field == &t.cts ||
                           field == &t.fileWait;
      const int floor = timeout && percent < 100 ? kShortestTimeout : 1;
      *field = std::max(*field * percent / 100, floor);
    }
    return t;
  }
};

}  // namespace pelto
