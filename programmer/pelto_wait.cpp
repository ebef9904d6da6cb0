#include "pelto_wait.h"

namespace pelto {

TimeOut::TimeOut() {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
    fired_ = true;
    if (then) then();
  });
}

void TimeOut::Start(int ms) {
  fired_ = false;
  if (ms > 0) {
    timer_.start(ms);
  } else {
    timer_.stop();
  }
}

}  // namespace pelto
