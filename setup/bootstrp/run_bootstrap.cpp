// RunBootstrap: the loader's steps from its temporary folder to the end of
// the second stage, and the clean-up that every way out runs.
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <cstdio>

#include "boot_messages.h"
#include "bootstrap.h"
#include "language_choice.h"
#include "package_block.h"
#include "platform/child_process.h"
#include "platform/filenames.h"
#include "platform/messagebox.h"
#include "platform/profile.h"
#include "progress_window.h"
#include "setup/option_scanner.h"
#include "setup/termination.h"
#include "temp_directory.h"

namespace vanstall {
namespace {

constexpr unsigned kArchiveMode = DCS_MODE_READ_ONLY | DCS_MODE_NO_CREATE;
constexpr int kProgressSteps = 2;
constexpr int kWaitSliceMillis = 250;

std::string OwnModulePath() {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0) return "";
    if (static_cast<size_t>(n) < path.size()) return path.substr(0, static_cast<size_t>(n));
    path.resize(path.size() * 2);
  }
}

std::string InTemp(const Bootstrap& b, const std::string& name) {
  return b.tempFolder + "/" + name;
}

std::string LastError() {
  return std::to_string(DcsGetLastError());
}

// Extracts an entry into the temporary folder; a failed extraction leaves
// no partial file behind.
bool ExtractBootFile(Bootstrap& b, const std::string& name) {
  if (DcsExtractFile(b.archive, name.c_str(), b.tempFolder.c_str(), nullptr)) return true;
  const int error = DcsGetLastError();
  unlink(InTemp(b, name).c_str());
  DcsSetLastError(error);
  return false;
}

void CloseArchive(Bootstrap& b) {
  if (b.archive) DcsCloseArchive(b.archive);
  b.archive = nullptr;
}

void ScanLanguageOption(Bootstrap& b) {
  for (const setup::ScannedOption& o : setup::ScanOptions(b.arguments, "l:L:")) {
    b.languageId = ReadHex(o.value);
    b.forcedLanguage = true;
  }
}

// Steps 5 to 9: the language table, the language and its library.
bool ChooseLanguage(Bootstrap& b) {
  const std::string lng = InTemp(b, "SETUP.LNG");
  if (!ExtractBootFile(b, "SETUP.LNG")) {
    BootError(FormatText("INTERNAL ERROR B118-%u: Cannot decompress SETUP.LNG.", {LastError()}));
  }
  // A forced language is its own default: it is taken as given.
  unsigned fallback = b.languageId;
  if (!b.forcedLanguage) {
    fallback = ReadHex(platform::ReadProfileString(lng, "Setup", "Default Language", ""));
    b.languageId = UserDefaultLanguage();
  }
  b.languageKey = ChooseLanguageKey(lng, b.languageId, fallback);

  if (!b.forcedLanguage) {
    std::string library = "BOOT" + b.languageKey + ".DLL";
    if (!ExtractBootFile(b, library)) {
      BootError(
          FormatText("INTERNAL ERROR B110-%u: Cannot decompress %s.", {LastError(), library}));
      library = "BOOTLNG.DLL";
      if (!ExtractBootFile(b, library)) {
        BootError(
            FormatText("INTERNAL ERROR B110-%u: Cannot decompress BOOTLNG.DLL.", {LastError()}));
      }
    }
    if (!b.language.Load(InTemp(b, library))) {
      BootError("INTERNAL ERROR B112: Cannot load BOOTLNG.DLL.");
      return false;
    }
    const int answer = platform::ProfileKeys(lng, "Language").size() > 1
                           ? RunLanguageDialog(b.language, lng, b.languageKey)
                           : 1;
    const int systemError = errno;
    // The library goes on every way out: the dialog may have changed the key.
    b.language.Free();
    unlink(InTemp(b, library).c_str());
    if (answer == 2) return false;
    if (answer != 1) {
      BootError(FormatText("INTERNAL ERROR B119-%u: Cannot Display Language Selection.",
                           {std::to_string(systemError)}));
      return false;
    }
  }

  const std::string library = "BOOT" + b.languageKey + ".DLL";
  if (!ExtractBootFile(b, library)) {
    BootError(FormatText("INTERNAL ERROR B110-%u: Cannot decompress %s.", {LastError(), library}));
    return false;
  }
  if (!b.language.Load(InTemp(b, library))) {
    BootError(
        FormatText("INTERNAL ERROR B112-%u: Cannot load %s.", {std::to_string(errno), library}));
    return false;
  }
  return true;
}

// Steps 13 to 15: the second stage and its language library, with progress.
bool UnpackSecondStage(Bootstrap& b) {
  b.archive = DcsOpenArchiveEx(b.modulePath.c_str(), kArchiveMode, &ProgressCallback,
                               reinterpret_cast<intptr_t>(&b), nullptr);
  if (!b.archive) {
    BootError(
        FormatText("INTERNAL ERROR B113-%u: Cannot decompress setup program.", {LastError()}));
    return false;
  }
  if (ExtractBootFile(b, "RVSETUP.EXE")) {
    chmod(InTemp(b, "RVSETUP.EXE").c_str(), 0700);  // the archive carries no execute bit
  } else if (setup::TerminationRequested()) {
    return false;  // the progress callback ended the extraction
  } else {
    BootError(FormatText("INTERNAL ERROR B114-%u: Cannot decompress RVSETUP.EXE.", {LastError()}));
  }
  b.completedSteps = 1;

  const std::string entry = "SETUP" + b.languageKey + ".DLL";
  const std::string target = InTemp(b, "SETUPLNG.DLL");
  DcsStream* out = DcsOpenStream(target.c_str(), "w+b");
  bool ok = out && DcsExtractFile(b.archive, entry.c_str(), nullptr, out);
  const int error = DcsGetLastError();
  if (out) DcsCloseStream(out);
  if (!ok) {
    unlink(target.c_str());
    DcsSetLastError(error);
    if (setup::TerminationRequested()) return false;
    BootError(FormatText("INTERNAL ERROR B115-%u: Cannot decompress %s.", {LastError(), entry}));
  }
  b.completedSteps = 2;
  CloseArchive(b);
  return true;
}

// SETUP.INI beside the loader, else the one its archive carries (the
// one-file package), unpacked into the temporary folder.
std::string SetupIniPath(Bootstrap& b) {
  const std::string beside = b.setupFolder + "SETUP.INI";
  if (access(beside.c_str(), F_OK) == 0 || !ExtractBootFile(b, "SETUP.INI")) return beside;
  return InTemp(b, "SETUP.INI");
}

void WritePackageFile(Bootstrap& b) {
  static constexpr std::array<char, kPackageBlockSize> kBlock = PackageBlock();
  if (FILE* f = std::fopen(InTemp(b, "SETUP.PKG").c_str(), "wb")) {
    std::fwrite(kBlock.data(), 1, kBlock.size(), f);
    std::fclose(f);
  }
}

// Steps 17 and 18: the second stage with its arguments as a list, waited for
// while the window stays alive. True when it ended with 0; false when it
// could not be started or failed.
bool RunSecondStage(Bootstrap& b) {
  const std::string program = InTemp(b, b.language.String(setup::kStrSecondStageProgram));
  const std::string first =
      FormatText(b.language.String(setup::kStrSecondStageArguments), {b.modulePath});
  std::vector<std::string> arguments = SplitCommandLine(first);
  arguments.insert(arguments.end(), b.arguments.begin(), b.arguments.end());
  const platform::ChildProcess child = platform::StartChild(program, arguments);
  if (child.pid < 0) {
    std::string commandLine = program + " " + first;
    for (const std::string& a : b.arguments) commandLine += " " + a;
    platform::MessageBox(FormatText(b.language.String(setup::kStrStartFailure),
                                    {commandLine, std::to_string(child.error)}),
                         "Error", platform::MB_OK | platform::MB_ICONERROR);
    return false;
  }
  // A termination request while it runs is passed on to it (main), so that
  // it stops and puts the previous installation back; its outcome counts.
  b.secondStage = child.pid;
  int exitCode = -1;
  while (!platform::WaitChild(child.pid, kWaitSliceMillis, &exitCode)) PumpMessages();
  b.secondStage = -1;
  return exitCode == 0;
}

}  // namespace

Bootstrap::Bootstrap() = default;
Bootstrap::~Bootstrap() {
  DeleteBootFiles(*this);
}

int ProgressPercent(int completedSteps, uint64_t written, uint64_t size) {
  if (size == 0) return 100;
  return static_cast<int>(uint64_t(completedSteps) * 100 / kProgressSteps +
                          written * 100 / size / kProgressSteps);
}

int ProgressCallback(int code, void* record, intptr_t user) {
  if (code != DCS_CB_PROGRESS) return 0;  // a volume change is refused
  if (setup::TerminationRequested()) return DCS_CB_ABORT;
  auto& b = *reinterpret_cast<Bootstrap*>(user);
  const auto& progress = *static_cast<const DcsProgress*>(record);
  const int percent = ProgressPercent(b.completedSteps, progress.written, progress.size);
  if (percent != b.lastPercent && b.progress && b.progress->Gauge()) {
    b.lastPercent = percent;
    b.progress->Gauge()->Message(setup::kGaugeSetPos, static_cast<uintptr_t>(percent), 0);
  }
  return 1;
}

void PumpMessages() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool RunBootstrap(Bootstrap& b, const std::vector<std::string>& arguments) {
  b.arguments = arguments;
  b.modulePath = OwnModulePath();
  b.setupFolder = platform::FolderOf(b.modulePath);
  b.tempFolder = CreateTempDirectory(b.tempLock);
  if (b.tempFolder.empty()) return false;
  ScanLanguageOption(b);

  b.archive = DcsOpenArchive(b.modulePath.c_str(), kArchiveMode, nullptr);
  if (!b.archive) {
    BootError(
        FormatText("INTERNAL ERROR B109-%u: Cannot decompress setup program.", {LastError()}));
    return false;
  }
  const bool languageChosen = ChooseLanguage(b) && !setup::TerminationRequested();
  const std::string setupIni = languageChosen ? SetupIniPath(b) : "";
  CloseArchive(b);
  if (!languageChosen) return false;
  // A previous instance is never reported here: the check has nothing to find.

  b.progress = std::make_unique<ProgressWindow>(b.language, setupIni);
  PumpMessages();
  if (!UnpackSecondStage(b) || setup::TerminationRequested()) return false;
  WritePackageFile(b);
  if (setup::TerminationRequested()) return false;
  const bool installed = RunSecondStage(b);
  DeleteBootFiles(b);
  return installed;
}

void DeleteBootFiles(Bootstrap& b) {
  CloseArchive(b);
  b.progress.reset();
  b.language.Free();
  if (b.tempFolder.empty()) return;
  for (const std::string& name :
       {std::string("RVSETUP.EXE"), std::string("SETUPLNG.DLL"), std::string("BOOTLNG.DLL"),
        "BOOT" + b.languageKey + ".DLL", std::string("SETUP.INF"), std::string("SETUPC.DLL"),
        std::string("SETUP.LNG"), std::string("SETUP.PKG"), std::string("SETUP.INI")}) {
    unlink(InTemp(b, name).c_str());
  }
  rmdir(b.tempFolder.c_str());
  b.tempFolder.clear();
  if (b.tempLock >= 0) close(b.tempLock);
  b.tempLock = -1;
}

void ExitBootstrap(Bootstrap& b) {
  DcsSetLastError(0);
  DeleteBootFiles(b);
}

}  // namespace vanstall
