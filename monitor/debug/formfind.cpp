#include "debug/formfind.h"

#include <QGridLayout>

#include "core/monitor_state.h"
#include "platform/controls.h"
#include "platform/hooks.h"

namespace monitor {

QString FindMemory::SelectedText() const {
  return HistoryIndex >= 0 && HistoryIndex < History.size() ? History.at(HistoryIndex) : QString();
}

FormFind::FormFind(MonitorState& state, std::shared_ptr<FindMemory> memory)
    : Form("FormFind"),
      Find1Combo(new platform::ComboBox("Find1Combo")),
      chkboxCase(new QCheckBox("case match")),
      chkboxWord(new QCheckBox("whole Word")),
      BttnGo(new QPushButton("&Find")),
      BttnClose(new QPushButton("&Close")),
      state_(state),
      memory_(std::move(memory)) {
  SetCaption("Find");
  chkboxCase->setObjectName("chkboxCase");
  chkboxWord->setObjectName("chkboxWord");
  BttnGo->setObjectName("BttnGo");
  BttnClose->setObjectName("BttnClose");
  Find1Combo->setMinimumWidth(240);

  auto* client = new QWidget(this);
  auto* grid = new QGridLayout(client);
  grid->addWidget(Find1Combo, 0, 0, 1, 2);
  grid->addWidget(BttnGo, 0, 2);
  grid->addWidget(chkboxCase, 1, 0);
  grid->addWidget(chkboxWord, 1, 1);
  grid->addWidget(BttnClose, 1, 2);
  setCentralWidget(client);
  SetDialogButtons(BttnGo, BttnClose);

  Find1Combo->onChange = [this] { FindTextChanged = true; };
  Find1Combo->onLostFocus = [this] { CommitHistory(); };
  // The history is complete before the search, whatever the focus order.
  connect(BttnGo, &QPushButton::clicked, this, [this] {
    platform::GuardedCall([&] {
      CommitHistory();
      FindNextInView(state_, memory_->LastFoundRow, Find1Combo->Text(), Options());
    });
  });
  connect(BttnClose, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([&] { state_.Forms.Unload(this); }); });
}

int FormFind::Options() const {
  return (platform::ButtonValue(*chkboxWord) != 0 ? kSearchWholeWord : 0) +
         (platform::ButtonValue(*chkboxCase) != 0 ? kSearchMatchCase : 0);
}

void FormFind::CommitHistory() {
  if (!FindTextChanged) return;
  Find1Combo->AddItem(Find1Combo->Text(), 0);
  if (Find1Combo->ListCount() > FindMemory::kHistoryEntries) {
    Find1Combo->RemoveItem(FindMemory::kHistoryEntries);
  }
  Find1Combo->SetListIndex(0);
  FindTextChanged = false;
}

void FormFind::OnLoad() {
  if (memory_->History.isEmpty()) return;
  for (const QString& entry : memory_->History) Find1Combo->AddItem(entry);
  Find1Combo->SetListIndex(memory_->HistoryIndex);
}

void FormFind::OnUnload() {
  memory_->History.clear();
  for (int i = 0; i < Find1Combo->ListCount(); ++i) memory_->History.append(Find1Combo->List(i));
  memory_->HistoryIndex = Find1Combo->ListIndex();
}

void FindNextFromMenu(MonitorState& state, FindMemory& memory) {
  if (auto* dialog = dynamic_cast<FormFind*>(state.Forms.Get("FormFind"))) {
    FindNextInView(state, memory.LastFoundRow, dialog->Find1Combo->Text(), dialog->Options());
  } else {
    FindNextInView(state, memory.LastFoundRow, memory.SelectedText(), 0);
  }
}

}  // namespace monitor
