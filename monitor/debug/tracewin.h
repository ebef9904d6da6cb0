#pragma once
// The trace window: one page of the trace records, the trace mode, RESET and
// READ, two marks that measure the cycles between rows, the trace file and
// the trace print. It has a menu bar of its own.
//
// While it is not loaded, nothing reads or shows the trace: opening it
// initialises the records (and, on the emulator, its trace memory).
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <functional>
#include <string>

#include "debug/trace.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/menu_table.h"

namespace monitor {

class MonitorState;

// The trace text: read-only, and both mouse buttons put the caret at the
// character under the mouse before their handler runs (no context menu).
class TraceTextBox : public QPlainTextEdit {
 public:
  explicit TraceTextBox(QWidget* parent);
  std::function<void(Qt::MouseButton)> onMouseDown, onMouseUp;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class Tracewin : public platform::Form {
 public:
  explicit Tracewin(MonitorState& state);

  QWidget* modifpanel;
  QComboBox* tracemodeCombo;
  QPushButton* Resetbtn;
  QPushButton* readbtn;
  platform::Panel3D* CyclesBox;
  QLabel* Label3;
  TraceTextBox* Traceout;
  QScrollBar* VScroll1;

  TraceModule Trace;
  // The page as shown, rows ended by CR LF.
  QString Page;
  std::string TraceFileName;

  void OnLoad() override;
  void OnActivate() override;
  void OnResize() override;
  void OnUnload() override;

  void UpdateTraceWindow();
  void ShowTrace();
  void ScrollTraceView();

  void tracemodeCombo_Click();
  void Resetbtn_Click();
  void Traceout_MouseDown(Qt::MouseButton button);
  void Traceout_MouseUp(Qt::MouseButton button);
  void SaveTraceToFile();
  void FontCommand();
  // The records first..last in the file form on the line printer.
  void PrintTrace(int first, int last);

  const platform::MenuSet& Menus() const { return menus_; }
  // A menu command by its item name and control-array index.
  void Command(const std::string& name, int index = -1);

 private:
  void Highlight();
  void ResetTrace();

  MonitorState& state_;
  platform::MenuSet menus_;
};

// The trace print dialog: a range of record indexes in hex, printed by the
// trace window that opened it.
class TracePrint : public platform::Form {
 public:
  explicit TracePrint(MonitorState& state);
  void SetTraceWindow(Tracewin* trace) { trace_ = trace; }
  QLineEdit* startadr;
  QLineEdit* endadr;
  QPushButton* Printbtn;
  QPushButton* Cancelbtn;

  void OnLoad() override;
  void Printbtn_Click();

 private:
  MonitorState& state_;
  QPointer<Tracewin> trace_;
};

// Reads and shows the trace while the trace window is loaded.
void UpdateTraceWindow(MonitorState& state);
// Loads the trace window (and shows it) when it is not loaded yet.
void LoadTraceWindow(MonitorState& state);

// The forms and the trace seam UpdateTraceWindow, for the core and the
// emulator.
void RegisterTraceForms(MonitorState& state);

}  // namespace monitor
