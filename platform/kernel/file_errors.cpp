#include "platform/file_errors.h"

#include <cerrno>
#include <cstring>

namespace platform {

int FileErrorNumberOf(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return kFileNotFound;
    case ENOTDIR:
    case ELOOP:
      return kPathNotFound;
    case EBADF:
    case EMFILE:
    case ENFILE:
      return kBadFileNameOrNumber;
    case EBUSY:
    case ETXTBSY:
      return kFileAlreadyOpen;
    case EIO:
    case ENOSPC:
    case EDQUOT:
      return kDeviceIoError;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
      return kBadFileName;
    case ENODEV:
    case ENXIO:
      return kDeviceUnavailable;
    case ENOMEDIUM:
    case EAGAIN:
      return kDiskNotReady;
    default:
      return kPathFileAccessError;  // EACCES, EPERM, EROFS, EISDIR, EEXIST…
  }
}

RunTimeError FileError(int errnoValue, const std::string& path) {
  return RunTimeError(FileErrorNumberOf(errnoValue), path + ": " + std::strerror(errnoValue));
}

}  // namespace platform
