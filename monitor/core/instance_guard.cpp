#include "core/instance_guard.h"

#include <QDir>
#include <QFile>

#include "platform/link.h"

namespace monitor {

std::unique_ptr<QLockFile> AcquireInstanceLock() {
  const QString folder = QString::fromStdString(platform::LinkFolder());
  QDir().mkpath(folder);
  QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  auto lock = std::make_unique<QLockFile>(folder + "/Tavix.lock");
  // Never stale by age: a monitor runs for days. A lock whose process is gone
  // is still taken over.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return nullptr;
  return lock;
}

}  // namespace monitor
