// The editor window: its text control, caption and document text, and its
// unload.
#include "workbench/frmnotepad.h"

#include <QVBoxLayout>

#include "core/monitor_state.h"
#include "workbench/workbench_state.h"

namespace monitor {

frmNotePad::frmNotePad(Workbench& bench)
    : Form("frmNotePad"), Text1(new platform::SourceTextBox("Text1")), bench_(bench) {
  // The text fills the window through the layout; a minimized window keeps
  // its size.
  auto* client = new QWidget(this);
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Text1);
  setCentralWidget(client);
  setFocusProxy(Text1);
  Text1->setFocus();
  Text1->SetInputFilter([this](const QString& text) { return MakeStorable(text, encoding_); });
  Text1->onChange = [this] {
    const size_t slot = static_cast<size_t>(Slot());
    if (slot >= 1 && slot < bench_.State.EditorSlot.size())
      bench_.State.EditorSlot[slot].Changed = -1;
  };
  Text1->onClick = [this] {
    platform::Form* find = bench_.State.Forms.Get("frmFind");
    if (find != nullptr && find->isVisible()) find->raise();
  };

  BindMenus();
}

void frmNotePad::SetUntitled(int16_t slot) {
  path_.clear();
  SetCaption("Untitled:" + QString::number(slot));
}

void frmNotePad::SetPath(const std::string& path) {
  path_ = path;
  SetCaption(QString::fromStdString(path));
}

void frmNotePad::SetDocumentText(const DecodedSource& source) {
  encoding_ = source.encoding;
  Text1->SetText(source.text);
}

void frmNotePad::ShowWindow() {
  if (Manager() != nullptr) Manager()->Show(this);
}

void frmNotePad::OnUnload() {
  const size_t slot = static_cast<size_t>(Slot());
  if (slot >= 1 && slot < bench_.State.EditorSlot.size()) {
    bench_.State.EditorSlot[slot] = EditorSlotRecord{-1, 0};
  }
  if (slot < bench_.NotePad.size() && bench_.NotePad[slot] == this) bench_.NotePad[slot] = nullptr;
}

}  // namespace monitor
