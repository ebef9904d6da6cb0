#include "debug/code_load.h"

#include <utility>

#include "core/code_grid.h"
#include "core/dialog_answer.h"
#include "core/monitor_state.h"
#include "core/project_source.h"
#include "core/vicectrl.h"
#include "debug/iceview.h"
#include "debug/listing_text.h"
#include "debug/ramwin.h"
#include "debug/search_dialogs.h"
#include "debug/symbol_loader.h"
#include "platform/controls.h"
#include "platform/filenames.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"
#include "platform/read_file.h"

namespace monitor {

namespace {

std::string TrimLeft(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string TrimRight(const std::string& text) {
  const size_t last = text.find_last_not_of(' ');
  return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

void JoinLabel(std::string& pending, const std::string& label) {
  pending = pending.empty() ? label : pending + "," + label;
}

QString Text(const std::string& text) {
  return ListingText(text);
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

void ShowMissingListing() {
  platform::MessageBox("Unable to find Debug information file", "Warning",
                       platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

}  // namespace

bool IsMacroLine(bool lookForStart, const std::string& text) {
  static const std::vector<std::string> kStart = {".MACRO", "MACRO"};
  static const std::vector<std::string> kEnd = {".ENDMACRO", ".ENDM", ".MACEND",
                                                "ENDMACRO",  "ENDM",  "MACEND"};
  const QString upper = Text(text).toUpper();
  for (const std::string& keyword : lookForStart ? kStart : kEnd) {
    const QString key = Text(keyword);
    for (qsizetype at = upper.indexOf(key, 1); at >= 1; at = upper.indexOf(key, at + 1)) {
      const qsizetype end = at + key.size();
      if (upper[at - 1] == ' ' && (end == upper.size() || upper[end] == ' ')) return true;
    }
  }
  return false;
}

Listing LoadDebugInfo(const std::vector<std::string>& lines) {
  Listing listing;
  // A label or remark of a code line without a row waits for the next row.
  std::string pending, remark;
  bool inMacro = false;
  for (std::string line : lines) {
    for (char& c : line) {
      if (c == '\t') c = ' ';
    }
    const size_t colon = line.find(':');
    std::string head = colon == std::string::npos ? std::string() : TrimLeft(line.substr(0, colon));
    std::string rest = colon == std::string::npos ? line : line.substr(colon + 1);
    if (head.empty() || head.find('V') != std::string::npos) {
      if (const size_t semi = rest.find(';'); semi != std::string::npos) {
        rest = rest.substr(0, semi) + " ";
      }
      inMacro = inMacro ? !IsMacroLine(false, rest) : IsMacroLine(true, rest);
      if (rest.empty() || inMacro) continue;
      if (const size_t at = rest.find(':'); at != std::string::npos) {
        JoinLabel(pending, TrimLeft(rest.substr(0, at + 1)));
      }
      continue;
    }
    // line number, address and code
    const size_t blank1 = head.find(' ');
    if (blank1 == std::string::npos) continue;
    const std::string lineNumber = head.substr(0, blank1);
    const std::string afterLine = TrimLeft(head.substr(blank1 + 1));
    const size_t blank2 = afterLine.find(' ');
    if (blank2 == std::string::npos) continue;
    const std::string address = TrimRight(afterLine.substr(0, blank2));
    const std::string code = TrimRight(TrimLeft(afterLine.substr(blank2 + 1)));
    if (code.empty()) continue;

    if (const size_t semi = rest.find(';'); semi != std::string::npos) {
      remark = TrimLeft(rest.substr(semi + 1));
      rest = rest.substr(0, semi) + " ";
    }
    if (const size_t at = rest.find(':'); !rest.empty() && at != std::string::npos) {
      JoinLabel(pending, TrimLeft(rest.substr(0, at + 1)));
      rest = rest.substr(at + 1);
      for (char& c : rest) {
        if (c == ';') c = ' ';
      }
    }
    rest = TrimLeft(rest);
    const std::optional<int32_t> cell = ProgramAddress(address);
    const std::optional<int32_t> word = ProgramWord(code);
    if (rest.empty()) {
      // A data word without text of its own: no row, but its word counts.
      if (!cell || !word) {
        listing.failed = true;
        break;
      }
      listing.words.push_back({*cell, *word});
      continue;
    }
    std::string instruction = rest, operand;
    if (const size_t blank = rest.find(' '); blank != std::string::npos) {
      instruction = rest.substr(0, blank + 1);
      operand = TrimLeft(rest.substr(blank + 1));
    }
    listing.rows.push_back({" ", " ", Text(lineNumber), Text(address), Text(code), Text(pending),
                            Text(instruction), Text(operand), Text(remark)});
    pending.clear();
    remark.clear();
    if (!cell || !word) {
      listing.failed = true;
      break;
    }
    listing.words.push_back({*cell, *word});
    if (static_cast<int>(listing.rows.size()) >= kMaxListingRows) {
      listing.full = true;
      break;
    }
  }
  return listing;
}

void LoadDebugInfo(MonitorState& state, const std::string& path) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  platform::GridControl& grid = *panel->grdProgram;
  for (ProgramCell& cell : state.ProgramMemory) cell.flags = 0;
  state.ListedAddresses.reset();

  std::string bytes;
  Listing listing;
  const bool opened = platform::ReadWholeFile(platform::FindOrKeepPath(path), bytes);
  if (opened) listing = LoadDebugInfo(SplitLines(bytes));

  const int count = static_cast<int>(listing.rows.size());
  // A read that ended early (the row limit, or a line that failed to read)
  // ends with its last row; a whole listing with one empty row after it.
  const bool stopped = listing.full || (listing.failed && count > 0);
  grid.BeginUpdate();
  grid.SetRows(count + (stopped ? 1 : 2));
  for (int row = 1; row <= count; ++row) {
    const std::array<QString, 9>& texts = listing.rows[static_cast<size_t>(row - 1)];
    for (int col = 0; col < 9; ++col) grid.SetTextMatrix(row, col, texts[static_cast<size_t>(col)]);
  }
  for (int col = 0; col < 9 && !stopped; ++col) grid.SetTextMatrix(count + 1, col, {});
  grid.EndUpdate();
  grid.SetRow(grid.Rows() - 1);

  for (const ListingWord& word : listing.words) {
    state.ProgramMemory[static_cast<size_t>(word.address)] = {word.word, 0};
    state.ListedAddresses.set(static_cast<size_t>(word.address));
  }
  if (!opened || listing.failed) ShowMissingListing();
}

void LoadCodeCommand(MonitorState& state, int button) {
  PanelControls* panel = Panel(state);
  if (panel != nullptr) panel->Loadcodeimg->SetPicture(panel->Picture("imgreloadup"));
  const std::string sourceBinary = state.SourceFile.empty()
                                       ? std::string("*.bin")
                                       : platform::BaseName(ProjectSourcePath(state)) + ".bin";
  std::string name;
  if (button != 1 && !state.SourceFile.empty()) {
    name = sourceBinary;
  } else {
    platform::CommonDialog fallback("CMDialog1");
    platform::CommonDialog* found = state.Forms.FrameDialog();
    platform::CommonDialog& dialog = found != nullptr ? *found : fallback;
    dialog.DialogTitle = "Load Binary File Into Emulator";
    dialog.Filter = "binary Files (*.bin)|*.bin|All Files (*.*)|*.*";
    dialog.FileName = sourceBinary;
    dialog.CancelError = true;
    if (!DialogAnswered([&dialog] { dialog.ShowOpen(); })) return;
    name = dialog.FileName;
  }
  Services::Call(state.Seams.workbench.QuerySaveDocuments);
  {
    platform::WaitCursor hourglass;
    const std::string base = platform::BaseName(name);
    LoadDebugInfo(state, base + ".prn");
    LoadSymbolFile(state, base + ".sym");
    FillRamWindow(state);
    Services::Call(state.Seams.workbench.ApplyBreakpointLine);
    Services::Call(state.Seams.workbench.ApplyTracepointLine);
  }
  state.ActiveTarget().AfterCodeLoad();
  RefillOpenLabelList(state);
}

void DownloadCommand(MonitorState& state) {
  {
    platform::WaitCursor hourglass;
    state.ActiveTarget().DownloadCode();
  }
  if (PanelControls* panel = Panel(state)) {
    panel->Downloadimg->SetPicture(panel->Picture("downloaduppic"));
  }
  ResetCommand(state);
}

// The Load and Download buttons' mouse handlers.
void IceView::BindCodeLoad() {
  IceView& panel = *this;
  MonitorState& state = state_;
  panel.Loadcodeimg->onMouseDown = [&panel](int, int, int, int) {
    panel.frontAtLoad_ = panel.WindowsInFrontBeforePress();
    panel.Loadcodeimg->SetPicture(panel.Picture("imgreloaddown"));
  };
  panel.Loadcodeimg->onMouseUp = [&panel, &state](int button, int, int, int) {
    PanelCommand(state, [&] { LoadCodeCommand(state, button); });
    panel.BringBackInFront(std::exchange(panel.frontAtLoad_, {}));
  };
  panel.Downloadimg->onMouseDown = [&panel](int, int, int, int) {
    panel.Downloadimg->SetPicture(panel.Picture("downloaddwnpic"));
  };
  panel.Downloadimg->onMouseUp = [&state](int, int, int, int) {
    PanelCommand(state, [&] { DownloadCommand(state); });
  };
}

}  // namespace monitor
