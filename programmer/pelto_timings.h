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
  // benchmarks) keep the time-outs that wait for the programmer at three
  // seconds at least, and the converted file's at one: only a failing
  // programmer ever waits one out, and a heavily loaded machine may need that
  // long to answer a healthy one.
  static PeltoTimings Scaled(int percent) {
    PeltoTimings t;
    for (int* field : {&t.send, &t.read, &t.cts, &t.poll, &t.autoStart, &t.autoCrcPoll,
                       &t.fileWait}) {
      const bool answer = field == &t.send || field == &t.read || field == &t.cts;
      const int floor = percent >= 100 ? 1 : answer ? 3000 : field == &t.fileWait ? 1000 : 1;
      *field = std::max(*field * percent / 100, floor);
    }
    return t;
  }
};

}  // namespace pelto
