#include "platform/file_errors.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/filenames.h"

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

int FileErrorNumberOf(int errnoValue, const std::string& path) {
  if (errnoValue != ENOENT) return FileErrorNumberOf(errnoValue);
  const std::string folder = FolderOf(path);
  struct stat info {};
  const bool folderExists =
      folder.empty() || (stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
  return folderExists ? kFileNotFound : kPathNotFound;
}

RunTimeError FileError(int errnoValue, const std::string& path) {
  return RunTimeError(FileErrorNumberOf(errnoValue), path + ": " + std::strerror(errnoValue));
}

}  // namespace platform
