// RVSETUP.EXE, our stand-in of the outside second-stage setup: started by
// the loader with "/b<loader path>" and the loader's own arguments, it finds
// SETUP.PKG and SETUPLNG.DLL in its own folder, asks the loader to hide its
// progress window, and installs the files the loader's archive carries.
#include <unistd.h>

#include <QCoreApplication>
#include <cstdio>
#include <string>

#include "installer.h"
#include "platform/filenames.h"
#include "platform/library.h"
#include "platform/read_file.h"
#include "setup/quillset_channel.h"
#include "setup/setup_text.h"

namespace {

constexpr unsigned kStrInstalling = 1, kStrInstalled = 2, kStrFailed = 3;

// The texts of SETUPLNG.DLL, or English when it is missing.
std::string Text(platform::LibraryHandle library, unsigned id) {
  using LoadString = int (*)(unsigned, char*, int);
  if (auto load =
          reinterpret_cast<LoadString>(platform::GetProcAddress(library, "SetupLoadString"))) {
    char buffer[512];
    if (load(id, buffer, sizeof buffer) > 0) return buffer;
  }
  switch (id) {
    case kStrInstalling:
      return "Installing %s into %s...";
    case kStrInstalled:
      return "%s was installed into %s.";
    default:
      return "Setup could not install %s: %s";
  }
}

std::string OwnFolder() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? platform::FolderOf(std::string(path, static_cast<size_t>(n))) : "./";
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const std::string first = argc > 1 ? argv[1] : "";
  if (first.rfind("/b", 0) != 0 || first.size() == 2) {
    std::fputs("RVSETUP: start Setup through its loader\n", stderr);
    return 1;
  }
  const std::string loader = first.substr(2);
  const std::string folder = OwnFolder();
  std::string package;
  if (!platform::ReadWholeFile(folder + "SETUP.PKG", package) || package.size() != 1024 ||
      package.compare(0, 4, "RVPL") != 0) {
    std::fputs("RVSETUP: the package block SETUP.PKG is missing or damaged\n", stderr);
    return 1;
  }
  platform::LibraryHandle texts = platform::LoadLibrary(folder + "SETUPLNG.DLL");
  setup::SendQuillsetBootstrap(getppid(), 1);

  const std::string target = rvsetup::InstallFolder();
  std::printf("%s\n", setup::FormatText(Text(texts, kStrInstalling), {"Tavix", target}).c_str());
  std::string error;
  const bool ok = rvsetup::InstallArchive(
      loader, target, [](const std::string& name) { std::printf("  %s\n", name.c_str()); }, error);
  if (ok) {
    std::printf("%s\n", setup::FormatText(Text(texts, kStrInstalled), {"Tavix", target}).c_str());
  } else {
    std::fprintf(stderr, "%s\n",
                 setup::FormatText(Text(texts, kStrFailed), {"Tavix", error}).c_str());
  }
  if (texts) platform::FreeLibrary(texts);
  return ok ? 0 : 1;
}
