#pragma once
// Every modal or outside action of the forms, one call each. Each call has a
// hook that a test replaces with a script, so no test ever blocks; with
// TAVIX_UNATTENDED=1 every action answers without a person (dialogs cancel,
// modal forms return at once, message boxes go to standard error with their
// default answer once the program installs that with InstallUnattendedBoxes).
#include <QFont>
#include <QStringList>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "platform/messagebox.h"  // MessageBox, Beep and SetBeepHook

class QDialog;
class QWidget;

namespace platform {

// TAVIX_UNATTENDED=1.
bool Unattended();
// Message boxes to standard error with their default answer.
void InstallUnattendedBoxes();

// Runs a slot's body: nothing throws through the event loop. A RunTimeError
// and any other exception (as number 51) are shown in a box "<app> ERROR"
// with the number and the line, and the program goes on.
void GuardedCall(const std::function<void()>& body);
// "Monitor ERROR 52 0": the prefix, the number and the line, each with a
// leading blank (a minus sign for a negative value).
std::string ErrorText(const std::string& prefix, int number, int line);
void SetErrorBoxTitle(const std::string& title, const std::string& prefix);

// Where a program's file dialogs start when their file name names no folder:
// the folder the program prefers at the time (empty: none), else the folder
// of the last file chosen in one of the dialogs sharing this memory, else the
// folder the program was started from.
class DialogFolders {
 public:
  std::function<std::string()> Preferred;
  void SetStart(std::string folder) { start_ = std::move(folder); }
  // The first folder of a dialog proposing `fileName`; empty when the name
  // holds a folder of its own.
  std::string First(const std::string& fileName) const;
  void Chosen(const std::string& file);

 private:
  std::string last_, start_;
};

// The common dialog of a form. The filter is "desc|pattern|desc|pattern…";
// FileName is kept between calls. Cancel with CancelError set throws
// RunTimeError 32755; without it the properties stay as they were and the
// call returns false (true when the user chose). Open accepts a name that does
// not exist unless Flags carry kFileMustExist. Without a script the dialogs
// are Qt's, run through RunModalDialog. The printer dialog sets the printer
// of MakePrinter's jobs and returns Copies (each copy is a job of its own, so
// the printer prints one) and, in Flags bit 0, whether the selection is
// printed; bit 0x80000 of Flags keeps printing to a file off, bit 0x8 the
// page range. With no printer installed and no file to print to, nothing can
// be chosen: the dialog is not shown and answers as chosen, and the job then
// reports that no printer can be had.
class CommonDialog {
 public:
  enum class Action { Open, Save, Font, Printer, Help };
  static constexpr int kCancelError = 32755;
  static constexpr int kScalableFontFlags = 0x28003;
  static constexpr int kFileMustExist = 0x1000;

  explicit CommonDialog(std::string name, QWidget* owner = nullptr)
      : name_(std::move(name)), owner_(owner) {}
  const std::string& Name() const { return name_; }
  QWidget* Owner() const { return owner_; }

  std::string DialogTitle, Filter, FileName, HelpFile;
  // The folder the file dialog starts in when FileName names none (empty:
  // the current folder). With Folders set, each Open and Save takes it from
  // there, and the file chosen is remembered there.
  std::string InitDir;
  DialogFolders* Folders = nullptr;
  int FilterIndex = 1;
  bool CancelError = false;
  int Flags = 0;
  QString FontName;
  double FontSize = 0;
  bool FontBold = false, FontItalic = false;
  int Copies = 1, Min = 0, Max = 0;
  bool PrintSelection = false;
  int HelpCommand = 0;

  bool ShowOpen() { return Run(Action::Open); }
  bool ShowSave() { return Run(Action::Save); }
  bool ShowFont() { return Run(Action::Font); }
  bool ShowPrinter() { return Run(Action::Printer); }
  bool ShowHelp() { return Run(Action::Help); }

  // "desc|pattern|…" as Qt's "desc (pattern);;…".
  static QString QtFilter(const std::string& filter);

 private:
  bool Run(Action action);
  std::string name_;
  QWidget* owner_;
};

// A dialog script: acts on the dialog's properties and returns false to
// cancel. Replaces every dialog while installed; empty removes it.
using DialogScript = std::function<bool(CommonDialog& dialog, CommonDialog::Action action)>;
void SetDialogHook(DialogScript script);

// The shell's open of a document or web address. The result is ignored.
struct ShellRequest {
  QWidget* owner;
  std::string verb, file, parameters, folder;
  int show;
};
void ShellOpen(const ShellRequest& request);
void SetShellHook(std::function<void(const ShellRequest&)> hook);

// Dialogs and help of a library loaded by name without hooks of its own go
// to the program's exported presenters below, so a test's hook answers them.

// A help file with a command. There is no viewer of that format here, so the
// program opens the file through the shell.
void OpenHelp(const std::string& helpFile, int command);
void SetHelpHook(std::function<void(const std::string& file, int command)> hook);

// The wait cursor: counted, restored when the last guard ends.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  static int Depth();
};

// A line printer: a job with a font, printed line by line with page breaks.
class LinePrinter {
 public:
  virtual ~LinePrinter() = default;
  // Starts a job; false when no printer can be had. `sample` is the text whose
  // height is one line.
  virtual bool BeginJob(const QFont& font, const QString& sample) = 0;
  // Page height and line height in twips.
  virtual int PageHeight() const = 0;
  virtual int TextHeight(const QString& sample) const = 0;
  virtual void PrintLine(const QString& line) = 0;
  virtual void NewPage() = 0;
  virtual void EndJob() = 0;
};
// The program's printer (Qt PrintSupport), or what the test installed.
std::unique_ptr<LinePrinter> MakePrinter();
void SetPrinterFactory(std::function<std::unique_ptr<LinePrinter>()> factory);
// Prints `lines` as one job in `font`: a page holds the page height divided by
// the height of `sample` lines (at least one), and a new page starts only
// when more lines follow. False when no printer could be had (nothing printed).
bool PrintLines(const QStringList& lines, const QFont& font, const QString& sample);

QString ClipboardText();
void SetClipboardText(const QString& text);

// Shows a form modally until it is hidden or closed. A script installed with
// SetModalFormHook acts on the form instead; unattended it returns at once.
// While the form's loop runs its property kModalLoopProperty is true.
void RunModalForm(QWidget& form);
void SetModalFormHook(std::function<void(QWidget& form)> hook);
inline constexpr const char* kModalLoopProperty = "tavixModalLoop";

// Runs a dialog modally (exec) and returns its result. A script installed
// with SetModalDialogHook acts on the dialog, set up and not shown, instead:
// it answers with accept(), reject(), done() or a click on a button, and
// no event loop runs. Unattended the dialog is rejected without showing.
// Every modal dialog of the forms and of the message boxes runs through here.
int RunModalDialog(QDialog& dialog);
void SetModalDialogHook(std::function<void(QDialog& dialog)> hook);

// How many common dialogs, modal forms and modal dialogs (message boxes of
// the program included) have run, shown or answered by a hook: a window
// compares the count around a command of its own to know whether one took
// the keyboard from it meanwhile.
int ModalCount();

// The end of the program: the program's callback (QCoreApplication::exit);
// tests record it.
void EndProgram();
void SetEndProgramHook(std::function<void()> hook);

// The program's own dialog and help, for the libraries it loads.
bool RunDialogHere(CommonDialog& dialog, CommonDialog::Action action);
void OpenHelpHere(const std::string& helpFile, int command);

}  // namespace platform

extern "C" {
int TavixCommonDialogPresenter(platform::CommonDialog* dialog, int action);
void TavixHelpPresenter(const char* file, int command);
}
