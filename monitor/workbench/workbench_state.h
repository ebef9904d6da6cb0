#pragma once
// The workbench's state: the editor windows of the slots and the editors'
// search. Its destructor is with the editor documents (mdinote), where the
// editor windows are made.
#include <QPointer>
#include <QString>
#include <cstdint>
#include <vector>

namespace monitor {

class MonitorState;
class frmNotePad;

// The search of the editors' Find dialog, kept for the life of the process.
struct EditorSearch {
  QString FindText;
  int32_t FindMatchCase = 0;  // 0 ignore case, 1 match case
  int32_t FindDirection = 1;  // 1 down, anything else up
  int32_t FindLastStart = 0;
  int32_t FindRestart = 0;  // not 0 for the first search after Search > Find
};

// The workbench's own state beside MonitorState: one per monitor.
class Workbench {
 public:
  explicit Workbench(MonitorState& state) : State(state) {}
  // The workbench's windows go first: they refer to it.
  ~Workbench();
  Workbench(const Workbench&) = delete;
  Workbench& operator=(const Workbench&) = delete;

  MonitorState& State;
  // The editor window of each slot, parallel to State.EditorSlot. An entry is
  // cleared when its window unloads; the slot's next use makes a fresh form.
  std::vector<QPointer<frmNotePad>> NotePad;
  EditorSearch Search;
};

}  // namespace monitor
