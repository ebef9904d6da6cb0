#include "pelto_wait.h"

#include <QCoreApplication>

#include "platform/clock.h"

namespace pelto {

TimeOut::TimeOut() {
  timer_.SetEnabled(false);
  timer_.onTimer = [this] {
    timer_.SetEnabled(false);
    fired_ = true;
    if (then) then();
  };
}

void TimeOut::Start(int ms) {
  fired_ = false;
  timer_.SetInterval(ms);
  timer_.SetEnabled(true);
}

bool WaitFor(const std::function<bool()>& done, const TimeOut& timeOut) {
  for (;;) {
    if (done()) return true;
    if (timeOut.Fired()) return false;
    QCoreApplication::processEvents();
    if (!done() && !timeOut.Fired()) platform::SleepMillis(1);
  }
}

}  // namespace pelto
