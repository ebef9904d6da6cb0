#include "platform/hooks.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/run_time_error.h"
#include <dlfcn.h>

namespace platform {
namespace {

struct Hooks {
  DialogScript dialog;
  std::function<void(const ShellRequest&)> shell;
  std::function<void(const std::string&, int)> help;
  std::function<std::unique_ptr<LinePrinter>()> printer;
  std::function<void(QWidget&)> modal;
  std::function<void(QDialog&)> modalDialog;
  std::function<void()> endProgram;
  std::string errorTitle = "Tavix";
  std::string errorPrefix = "Monitor ERROR";
  int waitDepth = 0;
  int modalCount = 0;
};

Hooks& TheHooks() {
  static Hooks hooks;
  return hooks;
}

std::string Signed(int value) {
  std::string text(value < 0 ? "" : " ");
  return text.append(std::to_string(value));
}

}  // namespace

bool RunQtDialog(CommonDialog& dialog, CommonDialog::Action action, QWidget* owner);  // qt_dialogs.cpp

// The program's own dialogs and help: its hook, or a person at the screen.
bool RunDialogHere(CommonDialog& dialog, CommonDialog::Action action) {
  if (TheHooks().dialog) return TheHooks().dialog(dialog, action);
  if (Unattended() || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    return false;
  }
  return RunQtDialog(dialog, action, dialog.Owner());
}

void OpenHelpHere(const std::string& helpFile, int command) {
  if (TheHooks().help) {
    TheHooks().help(helpFile, command);
    return;
  }
  ShellOpen({nullptr, "open", helpFile, "", "", 1});
}

namespace {

// A library loaded by name carries its own copy of these hooks; without a
// hook of its own it hands dialogs and help to the program that loaded it.
template <class Fn>
Fn HostFunction(const char* name, Fn own) {
  auto host = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, name));
  return host == own ? nullptr : host;
}

}  // namespace

bool Unattended() {
  const char* value = std::getenv("TAVIX_UNATTENDED");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

void InstallUnattendedBoxes() {
  SetMessageBoxHook([](const std::string& text, const std::string& title, unsigned style) {
    std::string line = title + ": ";
    for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    return DefaultAnswer(style);
  });
}

std::string ErrorText(const std::string& prefix, int number, int line) {
  return prefix + Signed(number) + Signed(line);
}

void SetErrorBoxTitle(const std::string& title, const std::string& prefix) {
  TheHooks().errorTitle = title;
  TheHooks().errorPrefix = prefix;
}

void GuardedCall(const std::function<void()>& body) {
  int number = 0, line = 0;
  try {
    body();
    return;
  } catch (const RunTimeError& error) {
    number = error.Number();
    line = error.Line();
  } catch (...) {
    number = 51;  // internal error
  }
  MessageBox(ErrorText(TheHooks().errorPrefix, number, line), TheHooks().errorTitle,
             MB_OK | MB_ICONEXCLAMATION);
}

QString CommonDialog::QtFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i], pattern = QString(parts[i + 1]).replace(';', ' ');
    // Qt takes the patterns from the last parentheses of each entry.
    filters << (description.endsWith("(" + pattern + ")") ? description
                                                          : description + " (" + pattern + ")");
  }
  return filters.join(";;");
}

std::string DialogFolders::First(const std::string& fileName) const {
  if (fileName.find('/') != std::string::npos) return {};
  const std::string preferred = Preferred ? Preferred() : std::string();
  if (!preferred.empty()) return preferred;
  return last_.empty() ? start_ : last_;
}

void DialogFolders::Chosen(const std::string& file) {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(file, error);
  if (!file.empty() && !error) last_ = path.parent_path().string();
}

bool CommonDialog::Run(Action action) {
  ++TheHooks().modalCount;
  CommonDialog copy = *this;
  const bool file = action == Action::Open || action == Action::Save;
  if (file && Folders != nullptr) copy.InitDir = Folders->First(FileName);
  using Presenter = int (*)(CommonDialog*, int);
  Presenter host = TheHooks().dialog ? nullptr
                                     : HostFunction<Presenter>("TavixCommonDialogPresenter",
                                                               &TavixCommonDialogPresenter);
  const bool ok = host != nullptr ? host(&copy, static_cast<int>(action)) != 0
                                  : RunDialogHere(copy, action);
  if (ok) {
    if (file && Folders != nullptr) Folders->Chosen(copy.FileName);
    *this = copy;
  } else if (CancelError) {
    throw RunTimeError(kCancelError, "Cancel was selected.");
  }
  return ok;
}

void SetDialogHook(DialogScript script) {
  TheHooks().dialog = std::move(script);
}

void ShellOpen(const ShellRequest& request) {
  if (TheHooks().shell) {
    TheHooks().shell(request);
    return;
  }
  if (Unattended()) return;
  const QString target = QString::fromStdString(request.file);
  const QUrl url = target.contains("://") ? QUrl(target) : QUrl::fromLocalFile(target);
  QDesktopServices::openUrl(url);
}

void SetShellHook(std::function<void(const ShellRequest&)> hook) {
  TheHooks().shell = std::move(hook);
}

void OpenHelp(const std::string& helpFile, int command) {
  using Presenter = void (*)(const char*, int);
  Presenter host = TheHooks().help ? nullptr
                                   : HostFunction<Presenter>("TavixHelpPresenter",
                                                             &TavixHelpPresenter);
  if (host != nullptr) {
    host(helpFile.c_str(), command);
  } else {
    OpenHelpHere(helpFile, command);
  }
}

void SetHelpHook(std::function<void(const std::string&, int)> hook) {
  TheHooks().help = std::move(hook);
}

WaitCursor::WaitCursor() {
  if (TheHooks().waitDepth++ == 0 && qobject_cast<QApplication*>(QCoreApplication::instance())) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
}

WaitCursor::~WaitCursor() {
  if (--TheHooks().waitDepth == 0 && qobject_cast<QApplication*>(QCoreApplication::instance())) {
    QApplication::restoreOverrideCursor();
  }
}

int WaitCursor::Depth() {
  return TheHooks().waitDepth;
}

std::unique_ptr<LinePrinter> MakeSystemPrinter();  // printer_qt.cpp

std::unique_ptr<LinePrinter> MakePrinter() {
  if (TheHooks().printer) return TheHooks().printer();
  return MakeSystemPrinter();
}

void SetPrinterFactory(std::function<std::unique_ptr<LinePrinter>()> factory) {
  TheHooks().printer = std::move(factory);
}

bool PrintLines(const QStringList& lines, const QFont& font, const QString& sample) {
  std::unique_ptr<LinePrinter> printer = MakePrinter();
  if (!printer->BeginJob(font, sample)) return false;
  const int perPage = std::max(1, printer->PageHeight() / std::max(1, printer->TextHeight(sample)));
  int onPage = 0;
  for (const QString& line : lines) {
    if (onPage == perPage) {
      printer->NewPage();
      onPage = 0;
    }
    printer->PrintLine(line);
    ++onPage;
  }
  printer->EndJob();
  return true;
}

QString ClipboardText() {
  return QGuiApplication::clipboard()->text();
}

void SetClipboardText(const QString& text) {
  QGuiApplication::clipboard()->setText(text);
}

void RunModalForm(QWidget& form) {
  ++TheHooks().modalCount;
  if (TheHooks().modal) {
    TheHooks().modal(form);
    return;
  }
  if (Unattended()) return;
  QPointer<QWidget> alive(&form);
  form.setWindowModality(Qt::ApplicationModal);
  form.setProperty(kModalLoopProperty, true);
  form.show();
  QEventLoop loop;
  while (alive && alive->isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents);
  if (alive) {
    alive->setWindowModality(Qt::NonModal);
    alive->setProperty(kModalLoopProperty, false);
  }
}

int RunModalDialog(QDialog& dialog) {
  ++TheHooks().modalCount;
  if (TheHooks().modalDialog) {
    dialog.setResult(QDialog::Rejected);
    TheHooks().modalDialog(dialog);
    return dialog.result();
  }
  if (Unattended()) return QDialog::Rejected;
  return dialog.exec();
}

int ModalCount() {
  return TheHooks().modalCount;
}

void SetModalDialogHook(std::function<void(QDialog&)> hook) {
  TheHooks().modalDialog = std::move(hook);
}

void SetModalFormHook(std::function<void(QWidget&)> hook) {
  TheHooks().modal = std::move(hook);
}

void EndProgram() {
  if (TheHooks().endProgram) {
    TheHooks().endProgram();
  } else {
    QCoreApplication::exit(0);
  }
}

void SetEndProgramHook(std::function<void()> hook) {
  TheHooks().endProgram = std::move(hook);
}

}  // namespace platform

extern "C" __attribute__((visibility("default"))) int TavixCommonDialogPresenter(
    platform::CommonDialog* dialog, int action) {
  return platform::RunDialogHere(*dialog, static_cast<platform::CommonDialog::Action>(action)) ? 1
                                                                                              : 0;
}

extern "C" __attribute__((visibility("default"))) void TavixHelpPresenter(const char* file,
                                                                         int command) {
  platform::OpenHelpHere(file, command);
}
