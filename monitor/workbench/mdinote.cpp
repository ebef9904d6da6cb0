#include "workbench/mdinote.h"

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "platform/messagebox.h"
#include "platform/source_text_box.h"
#include "settings/mdl_registry.h"
#include "workbench/frmnotepad.h"

namespace monitor {

namespace {
const char* const kEditorWindowKey = "SOFTWARE\\Corvane\\Tavix\\editor window";
}

Workbench::~Workbench() {
  for (QPointer<frmNotePad>& editor : NotePad) {
    if (editor) delete editor->Outer();
  }
  if (platform::Form* find = State.Forms.Get("frmFind")) delete find;
}

int16_t GrowEditorArrays(Workbench& bench) {
  std::vector<EditorSlotRecord>& records = bench.State.EditorSlot;
  if (records.empty()) records.resize(1);
  bench.NotePad.resize(records.size());
  for (size_t slot = 1; slot < records.size(); ++slot) {
    if (records[slot].Free != 0) {
      records[slot].Free = 0;
      return static_cast<int16_t>(slot);
    }
  }
  records.push_back(EditorSlotRecord{0, 0});
  bench.NotePad.emplace_back();
  return static_cast<int16_t>(records.size() - 1);
}

void ApplyEditorFont(frmNotePad& editor) {
  using platform::HKEY_CURRENT_USER;
  const std::string name = RegGetSetting(HKEY_CURRENT_USER, kEditorWindowKey, "fontname").AsText();
  if (name.empty()) return;
  const int32_t size = RegGetSetting(HKEY_CURRENT_USER, kEditorWindowKey, "fontsize").AsNumber();
  const int32_t para = RegGetSetting(HKEY_CURRENT_USER, kEditorWindowKey, "fontpara").AsNumber();
  QFont font = editor.Text1->Font();
  font.setFamily(QString::fromStdString(name));
  if (size > 0) font.setPointSize(size);
  font.setItalic((para & 1) != 0);
  font.setBold((para & 2) != 0);
  editor.Text1->SetFont(font);
}

frmNotePad* NewEditorWindow(Workbench& bench, int16_t slot) {
  auto* editor = dynamic_cast<frmNotePad*>(bench.State.Forms.LoadInstance("frmNotePad"));
  if (editor == nullptr) return nullptr;
  bench.NotePad[static_cast<size_t>(slot)] = editor;
  editor->Tag = QString::number(slot);
  ApplyEditorFont(*editor);
  editor->SetUntitled(slot);
  return editor;
}

void OpenNewEditor(Workbench& bench) {
  const int16_t slot = GrowEditorArrays(bench);
  frmNotePad* editor = NewEditorWindow(bench, slot);
  if (editor == nullptr) {
    bench.State.EditorSlot[static_cast<size_t>(slot)] = EditorSlotRecord{};
    return;
  }
  editor->ShowWindow();
}

frmNotePad* ActiveEditor(const Workbench& bench) {
  Monitorform* frame = bench.State.MainForm();
  return frame != nullptr ? dynamic_cast<frmNotePad*>(frame->ActiveChild()) : nullptr;
}

platform::SourceTextBox* ActiveEditorText(const Workbench& bench) {
  frmNotePad* editor = ActiveEditor(bench);
  if (editor == nullptr || editor->focusWidget() != editor->Text1) return nullptr;
  return editor->Text1;
}

std::optional<int> SearchText(const QString& text, const QString& find,
                              const SearchRequest& request) {
  if (find.isEmpty()) return std::nullopt;
  int offset = request.selStart == request.lastStart ? 1 : 0;
  if (request.restart) offset = 0;
  const int start = request.selStart + offset;
  const Qt::CaseSensitivity cs = request.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
  qsizetype position = -1;
  if (request.down) {
    if (start <= text.size()) position = text.indexOf(find, start, cs);
  } else if (start - 2 >= 0) {
    // lastIndexOf takes -1 as "from the end": never hand it a negative start.
    position = text.lastIndexOf(find, start - 2, cs);
  }
  if (position < 0) return std::nullopt;
  return static_cast<int>(position);
}

void SearchActiveEditor(Workbench& bench) {
  platform::SourceTextBox* box = ActiveEditorText(bench);
  if (box == nullptr) return;
  EditorSearch& search = bench.Search;
  SearchRequest request;
  request.selStart = box->SelStart();
  request.lastStart = search.FindLastStart;
  request.restart = search.FindRestart != 0;
  request.matchCase = search.FindMatchCase != 0;
  request.down = search.FindDirection == 1;
  if (std::optional<int> found = SearchText(box->Text(), search.FindText, request)) {
    box->SetSelection(*found, static_cast<int>(search.FindText.size()));
    box->ScrollToSelection();
  } else {
    platform::MessageBox("Cannot find \"" + search.FindText.toStdString() + "\"", "Tavix",
                         platform::MB_OK);
  }
  search.FindLastStart = box->SelStart();
  search.FindRestart = 0;
}

}  // namespace monitor
