// RVSETUP.EXE, our stand-in of the outside second-stage setup: started by
// the loader with "/b<loader path>" and the loader's own arguments, it finds
// SETUP.PKG and SETUPLNG.DLL in its own folder, asks the loader to hide its
// progress window, and installs the files the loader's archive carries.
// A failure is shown in a message box (on standard error without a display
// or unattended) and ends it with exit code 1. A termination request stops
// the install and puts the previous installation back, or closes the box
// that shows; it is told on standard error only, and the exit code is 1.
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "installer.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "platform/library.h"
#include "platform/read_file.h"
#include "setup/quillset_channel.h"
#include "setup/setup_text.h"
#include "setup/termination.h"
#include "test_hold.h"

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

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

// The failure reaches a user who started the package from a file manager,
// unless a termination was requested.
int Fail(const std::string& text) {
  if (setup::TerminationRequested()) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
  }
  rvsetup::MarkForTest("box");
  platform::MessageBox(text, "Setup", platform::MB_OK | platform::MB_ICONERROR);
  return 1;
}

// A termination request closes the boxes that show.
void CloseBoxes() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QDialog*>(window); box && box->isVisible()) box->reject();
  }
}

}  // namespace

int main(int argc, char** argv) {
  setup::WatchTerminations();
  // Without a display the boxes go to standard error.
  std::unique_ptr<QCoreApplication> app;
  if (HasDisplay()) {
    app = std::make_unique<QApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
  if (platform::Unattended()) platform::InstallUnattendedBoxes();
  const auto boxesClose = setup::NotifyTerminations(&CloseBoxes);
  const std::string first = argc > 1 ? argv[1] : "";
  if (first.rfind("/b", 0) != 0 || first.size() == 2)
    return Fail("Start Setup through its loader.");
  const std::string loader = first.substr(2);
  const std::string folder = OwnFolder();
  std::string package;
  if (!platform::ReadWholeFile(folder + "SETUP.PKG", package) || package.size() != 1024 ||
      package.compare(0, 4, "RVPL") != 0) {
    return Fail("The package block SETUP.PKG is missing or damaged.");
  }
  platform::LibraryHandle texts = platform::LoadLibrary(folder + "SETUPLNG.DLL");
  setup::SendQuillsetBootstrap(getppid(), 1);

  const std::string target = rvsetup::InstallFolder();
  std::printf("%s\n", setup::FormatText(Text(texts, kStrInstalling), {"Tavix", target}).c_str());
  std::string error;
  const bool ok = rvsetup::InstallArchive(
      loader, target, [](const std::string& name) { std::printf("  %s\n", name.c_str()); }, error);
  const std::string outcome = setup::FormatText(Text(texts, ok ? kStrInstalled : kStrFailed),
                                                {"Tavix", ok ? target : error});
  if (texts) platform::FreeLibrary(texts);
  if (!ok) return Fail(outcome);
  std::printf("%s\n", outcome.c_str());
  return 0;
}
