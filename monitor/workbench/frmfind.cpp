#include "workbench/frmfind.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/monitor_state.h"
#include "platform/controls.h"
#include "platform/hooks.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"

namespace monitor {

frmFind::frmFind(Workbench& bench)
    : Form("frmFind"),
      Label1(new QLabel("Fi&nd What:")),
      Text1(new QLineEdit),
      chkCase(new QCheckBox("Match &Case")),
      optDirection{new QRadioButton("&Up"), new QRadioButton("&Down")},
      cmdFind(new QPushButton("&Find")),
      cmdcancel(new QPushButton("&Cancel")),
      bench_(bench) {
  SetCaption("Find");
  Label1->setObjectName("Label1");
  Label1->setBuddy(Text1);
  Text1->setObjectName("Text1");
  chkCase->setObjectName("chkCase");
  cmdFind->setObjectName("cmdFind");
  cmdcancel->setObjectName("cmdcancel");
  auto* Frame1 = new QGroupBox("Direction");
  Frame1->setObjectName("Frame1");
  auto* directions = new QHBoxLayout(Frame1);
  for (size_t i = 0; i < optDirection.size(); ++i) {
    optDirection[i]->setObjectName(QString("optDirection(%1)").arg(i));
    directions->addWidget(optDirection[i]);
  }

  auto* client = new QWidget(this);
  auto* grid = new QGridLayout(client);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(Text1, 0, 1);
  grid->addWidget(cmdFind, 0, 2);
  grid->addWidget(chkCase, 1, 0);
  grid->addWidget(Frame1, 1, 1);
  grid->addWidget(cmdcancel, 1, 2);
  setCentralWidget(client);
  SetDialogButtons(cmdFind, cmdcancel);

  EditorSearch& search = bench_.Search;
  connect(Text1, &QLineEdit::textChanged, this,
          [this](const QString& text) { cmdFind->setEnabled(!text.isEmpty()); });
  connect(chkCase, &QCheckBox::clicked, this,
          [this, &search] { search.FindMatchCase = platform::ButtonValue(*chkCase); });
  for (size_t i = 0; i < optDirection.size(); ++i) {
    connect(optDirection[i], &QRadioButton::clicked, this,
            [&search, i] { search.FindDirection = static_cast<int32_t>(i); });
  }
  connect(cmdFind, &QPushButton::clicked, this, [this, &search] {
    platform::GuardedCall([&] {
      search.FindText = Text1->text();
      SearchActiveEditor(bench_);
    });
  });
  connect(cmdcancel, &QPushButton::clicked, this, [this, &search] {
    platform::GuardedCall([&] {
      search.FindText = Text1->text();
      search.FindMatchCase = platform::ButtonValue(*chkCase);
      bench_.State.Forms.Unload(this);
    });
  });
}

void frmFind::OnLoad() {
  cmdFind->setEnabled(false);
  bench_.Search.FindDirection = 1;
  // The box shows the case setting the searches use.
  platform::SetButtonValue(*chkCase, bench_.Search.FindMatchCase != 0 ? 1 : 0);
  optDirection[1]->setChecked(true);
}

void ShowEditorFind(Workbench& bench, frmNotePad& editor) {
  auto* find = dynamic_cast<frmFind*>(bench.State.Forms.Load("frmFind"));
  if (find == nullptr) return;
  find->Text1->setText(editor.Text1->SelText());
  bench.Search.FindRestart = -1;
  bench.State.Forms.Show(find);
}

void EditorFindNext(Workbench& bench, frmNotePad& editor) {
  if (bench.Search.FindText.isEmpty()) {
    ShowEditorFind(bench, editor);
  } else {
    SearchActiveEditor(bench);
  }
}

}  // namespace monitor
