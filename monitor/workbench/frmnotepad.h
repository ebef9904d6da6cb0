#pragma once
// The editor window: an MDI child holding the text control Text1, with its
// own menu bar. Its Tag is its slot number; a document keeps its real path
// apart from its caption, and an untitled document has no path.
#include <QString>
#include <string>

#include "platform/forms.h"
#include "platform/menu_table.h"
#include "platform/source_text_box.h"
#include "workbench/source_text.h"

namespace monitor {

class Workbench;

class frmNotePad : public platform::Form {
 public:
  explicit frmNotePad(Workbench& bench);

  platform::SourceTextBox* Text1;
  QString Tag;
  int16_t Slot() const { return static_cast<int16_t>(Tag.toInt()); }

  // The file the document reads and writes; empty for an untitled document.
  const std::string& Path() const { return path_; }
  bool Untitled() const { return path_.empty(); }
  // Caption "Untitled:<slot>", no path.
  void SetUntitled(int16_t slot);
  // The path as used; the caption shows it as it is.
  void SetPath(const std::string& path);
  SourceEncoding Encoding() const { return encoding_; }
  // Loads a decoded file into Text1 in its encoding.
  void SetDocumentText(const DecodedSource& source);

  // Shows, brings forward and activates the window.
  void ShowWindow();

  const platform::MenuSet& Menus() const { return menus_; }
  QAction* Menu(const std::string& name) const { return menus_.Item(name); }
  void Command(const std::string& name, int index);

  void OnQueryUnload(bool& cancel) override;
  void OnUnload() override;

 private:
  // The menu bar from NotePadMenuTable, its handlers and the recent files;
  // defined with the handlers.
  void BindMenus();
  bool NeedsBuilt(const std::string& needs) const;

  Workbench& bench_;
  std::string path_;
  SourceEncoding encoding_ = SourceEncoding::Utf8;
  platform::MenuSet menus_;
};

// The editor window's menu tree.
const std::vector<platform::MenuRow>& NotePadMenuTable();

}  // namespace monitor
