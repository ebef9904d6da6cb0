#include "core/instance_guard.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <memory>

#include "core/monitor_state.h"
#include "platform/link.h"

namespace monitor {

bool AcquireInstanceLock(MonitorState& state) {
  if (state.InstanceLock && state.InstanceLock->isLocked()) return true;
  const QString folder = QString::fromStdString(platform::LinkFolder());
  QDir().mkpath(folder);
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  auto lock = std::make_unique<QLockFile>(folder + "/Tavix.lock");
  // Never stale by age: a monitor runs for days. A lock whose process is gone
  // is still taken over.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return false;
  state.InstanceLock = std::move(lock);
  return true;
}

}  // namespace monitor
