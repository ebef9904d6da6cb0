#include "debug/formgolabel.h"

#include <QLabel>
#include <QVBoxLayout>

#include "core/main_module.h"
#include "core/monitor_state.h"
#include "debug/view_search.h"
#include "platform/hooks.h"

namespace monitor {

FormGoLabel::FormGoLabel(MonitorState& state)
    : Form("FormGoLabel"),
      ListLabels(new platform::ListBox("ListLabels")),
      TxtBoxLabel(new QLineEdit),
      LabelTimer(new platform::Timer(this)),
      state_(state) {
  SetCaption("Go to Label");
  TxtBoxLabel->setObjectName("TxtBoxLabel");
  TxtBoxLabel->setReadOnly(true);
  TxtBoxLabel->setFocusPolicy(Qt::NoFocus);
  LabelTimer->setObjectName("LabelTimer");

  auto* client = new QWidget(this);
  auto* column = new QVBoxLayout(client);
  auto* Label1 = new QLabel("Typed:");
  Label1->setObjectName("Label1");
  auto* Label2 = new QLabel("Labels:");
  Label2->setObjectName("Label2");
  column->addWidget(Label1);
  column->addWidget(TxtBoxLabel);
  column->addWidget(Label2);
  column->addWidget(ListLabels);
  setCentralWidget(client);
  resize(240, 320);

  ListLabels->onClick = [this] {
    platform::GuardedCall([&] { GoToLabel(state_, ListLabels->Text()); });
  };
  ListLabels->onKeyDown = [this](int& keyCode, int) {
    if (keyCode == platform::vbKeyEscape) ClearPrefix();
  };
  ListLabels->onKeyPress = [this](int charCode) { TypeAhead(charCode); };
  LabelTimer->onTimer = [this] {
    LabelTimer->SetEnabled(false);
    LabelTimer->SetInterval(0);
    ClearPrefix();
  };
}

void FormGoLabel::ClearPrefix() {
  LabelPrefix.clear();
  TxtBoxLabel->clear();
}

void FormGoLabel::TypeAhead(int charCode) {
  LabelTimer->SetEnabled(false);
  LabelTimer->SetInterval(kPrefixTimeout);
  LabelTimer->SetEnabled(true);
  if (charCode == platform::vbKeyEscape) return;
  if (charCode == platform::vbKeyBack) {
    if (!LabelPrefix.isEmpty()) LabelPrefix.chop(1);
  } else {
    LabelPrefix += QString(QChar(static_cast<char16_t>(charCode))).toUpper();
  }
  TxtBoxLabel->setText(LabelPrefix);
  for (int i = 0; i < ListLabels->ListCount(); ++i) {
    if (ListLabels->List(i).startsWith(LabelPrefix, Qt::CaseSensitive)) {
      ListLabels->SetListIndex(i);
      return;
    }
  }
}

void FormGoLabel::OnLoad() {
  FillLabelList(state_, *ListLabels);
}

void FormGoLabel::OnDeactivate() {
  // Not while it is being hidden or unloaded: that would show it again.
  if (!isVisible() || state_.Forms.Get("FormGoLabel") != this) return;
  SetTopmost(*this, -1);
}

}  // namespace monitor
