#pragma once
// The build-output window "Output": the server end of the build-output link
// (application "TAVIX", topic "BuildOut", item "Monlink"). Each line the
// assembler pokes is listed in ErrorList in arrival order, and acknowledged
// only after it was handled; a double-click or Enter on an error line opens
// its source in an editor and selects the line. A "Prog-Size=" line runs the
// ROM-size check.
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/forms.h"
#include "platform/link_server.h"

namespace monitor {

class MonitorState;
class Workbench;

// The largest program size in a "ROM Sizes" value: its leading number,
// rounded, as a 32-bit value.
int32_t RomSizeValue(const std::string& text);
// Lists the caution line in BuildOut when ProgramSize is above the ROM size
// of ControllerName in TAVIX.INI; nothing without an entry.
void CheckRomSize(MonitorState& state);

// The list of lines, with uniform item sizes, raising the double-click and
// the keys as events.
class ErrorListBox : public QListWidget {
 public:
  explicit ErrorListBox(QWidget* parent = nullptr);
  std::function<void()> onDblClick;
  std::function<void(int keyCode)> onKeyDown;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

class BuildOut : public platform::Form {
 public:
  explicit BuildOut(Workbench& bench);
  ~BuildOut() override;

  ErrorListBox* ErrorList;
  QLabel* Monlink;  // hidden: the item's current text

  // Listens on the link, then shows the window.
  void OnLoad() override;
  // Ends the link service.
  void OnUnload() override;

  // Clears the list. While the link is not available (another process holds
  // it, or its folder is unsafe) a new try is made, and a failure is said as
  // the first line, so a build never looks as if it did nothing.
  void ClearList();
  void AddLine(const QString& line);
  QStringList Lines() const;

  // A poked line arrived in Monlink: list it; a "Prog-Size" line sets
  // ProgramSize and runs the ROM-size check.
  void Monlink_Change();
  // Opens the selected error line's file in an editor (the open one, else a
  // new one) and selects the line.
  void GotoErrorLine();

  bool LinkAvailable() const { return server_.IsListening(); }
  // Conversations open on the link (builds still reporting).
  int Conversations() const { return server_.ClientCount(); }
  // Handles what the link has received; the socket notifiers call it.
  void ServeLink();

 private:
  bool Listen();
  void WatchDescriptors();

  Workbench& bench_;
  platform::LinkServer server_;
  std::map<int, std::unique_ptr<QSocketNotifier>> notifiers_;
  bool serving_ = false, again_ = false;
  // Lines come by the thousand: the list is painted at most once per period.
  QTimer paintTimer_;
};

}  // namespace monitor
