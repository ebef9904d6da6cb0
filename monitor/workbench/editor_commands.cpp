#include "workbench/editor_commands.h"

#include <QDateTime>
#include <QLocale>
#include <sstream>

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/print_listing_line.h"
#include "platform/hooks.h"
#include "platform/source_text_box.h"
#include "platform/wallclock.h"
#include "settings/mdl_registry.h"
#include "workbench/filopen.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"

namespace monitor {

namespace {

const char* const kEditorWindowKey = "SOFTWARE\\Corvane\\Tavix\\editor window";

// The locale's long time format without its time-zone fields.
QString TimeFormatWithoutZone(const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::LongFormat);
  QString out;
  bool quoted = false;
  for (QChar c : format) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u't') continue;
    out += c;
  }
  return out.simplified();
}

}  // namespace

void CopySelection(Workbench& bench) {
  if (platform::SourceTextBox* box = ActiveEditorText(bench))
    platform::SetClipboardText(box->SelText());
}

void CutSelection(Workbench& bench) {
  if (platform::SourceTextBox* box = ActiveEditorText(bench)) {
    platform::SetClipboardText(box->SelText());
    box->SetSelText(QString());
  }
}

void PasteClipboard(Workbench& bench) {
  if (platform::SourceTextBox* box = ActiveEditorText(bench))
    box->SetSelText(platform::ClipboardText());
}

void DeleteSelection(Workbench& bench) {
  platform::SourceTextBox* box = ActiveEditorText(bench);
  if (box == nullptr) return;
  const int length = box->document()->characterCount() - 1;
  if (box->SelStart() >= length) return;
  if (box->SelLength() == 0) box->SetSelection(box->SelStart(), 1);
  box->SetSelText(QString());
}

void SelectAll(Workbench& bench) {
  if (platform::SourceTextBox* box = ActiveEditorText(bench)) {
    box->SetSelection(0, box->document()->characterCount() - 1);
  }
}

QString TimeDateText() {
  const platform::LocalDateTime now = platform::LocalNow();
  const QLocale locale;
  return locale.toString(QDate(now.year, now.month, now.day), QLocale::ShortFormat) + " " +
         locale.toString(QTime(now.hour, now.minute, now.second), TimeFormatWithoutZone(locale));
}

void InsertTimeDate(frmNotePad& editor) {
  editor.Text1->SetSelText(TimeDateText());
}

void EditorFontCommand(Workbench& bench, frmNotePad& editor) {
  platform::CommonDialog* found = bench.State.Forms.FrameDialog();
  if (found == nullptr) return;
  platform::CommonDialog& dialog = *found;
  dialog.CancelError = true;
  dialog.Flags = platform::CommonDialog::kScalableFontFlags;
  const QFont preset = editor.Text1->Font();
  dialog.FontName = preset.family();
  dialog.FontSize = preset.pointSizeF();
  dialog.FontBold = preset.bold();
  dialog.FontItalic = preset.italic();
  if (!DialogAnswered([&] { dialog.ShowFont(); })) return;
  if (dialog.FontName.isEmpty()) return;

  QFont chosen = preset;
  chosen.setFamily(dialog.FontName);
  if (dialog.FontSize > 0) chosen.setPointSizeF(dialog.FontSize);
  chosen.setItalic(dialog.FontItalic);
  chosen.setBold(dialog.FontBold);
  const std::vector<EditorSlotRecord>& records = bench.State.EditorSlot;
  for (size_t slot = 1; slot < records.size() && slot < bench.NotePad.size(); ++slot) {
    if (records[slot].Free == 0 && bench.NotePad[slot]) bench.NotePad[slot]->Text1->SetFont(chosen);
  }

  using platform::HKEY_CURRENT_USER;
  const QFont stored = editor.Text1->Font();
  RegSetSetting(HKEY_CURRENT_USER, kEditorWindowKey, "fontname",
                RegValue(stored.family().toStdString()), platform::REG_SZ);
  // Written as text, the registry's conversion rounds a fractional size.
  std::ostringstream size;
  size << stored.pointSizeF();
  RegSetSetting(HKEY_CURRENT_USER, kEditorWindowKey, "fontsize", RegValue(size.str()),
                platform::REG_DWORD);
  RegSetSetting(HKEY_CURRENT_USER, kEditorWindowKey, "fontpara",
                RegValue(int32_t{(stored.italic() ? 1 : 0) + (stored.bold() ? 2 : 0)}),
                platform::REG_DWORD);
}

void PrintCommand(Workbench& bench, frmNotePad& editor) {
  platform::CommonDialog* found = bench.State.Forms.FrameDialog();
  if (found == nullptr) return;
  platform::CommonDialog& dialog = *found;
  const bool selected = editor.Text1->SelLength() > 0;
  dialog.CancelError = true;
  dialog.Copies = 1;
  dialog.Flags = selected ? 0x80009 : 0x80008;
  dialog.PrintSelection = selected;
  dialog.Min = 1;
  dialog.Max = 32000;
  dialog.FileName = "print.asm";
  dialog.Filter = "Project Files (*.prj)|*.prj|All Files (*.*)|*.*";
  dialog.FilterIndex = 1;
  if (!DialogAnswered([&] { dialog.ShowPrinter(); })) return;
  platform::WaitCursor wait;
  const QFont font = editor.Text1->Font();
  const QString text = (dialog.Flags & 1) != 0 ? editor.Text1->SelText() : editor.Text1->Text();
  PrintListingLine(text, font.family(), font.pointSizeF(), dialog.Copies);
}

void NewTemplate(Workbench& bench) {
  LoadSourceFile(bench, NewTemplatePath(bench.State.ProgramPath));
}

}  // namespace monitor
