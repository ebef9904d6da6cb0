#include "platform/document.h"

#include <algorithm>

#include "platform/messagebox.h"
#include "platform/scroll_view.h"

namespace platform {

bool Document::OnNewDocument() {
  SetPathName("");
  SetModifiedFlag(false);
  return true;
}

void Document::SetModifiedFlag(bool modified) {
  if (modified_ == modified) return;
  modified_ = modified;
  emit modifiedChanged(modified);
}

void Document::SetPathName(const std::string& path) {
  path_ = path;
  emit titleChanged();
}

QString Document::Title() const {
  if (path_.empty()) return "Untitled";
  const std::string::size_type slash = path_.find_last_of('/');
  return QString::fromStdString(slash == std::string::npos ? path_ : path_.substr(slash + 1));
}

bool Document::SaveModified() {
  if (!modified_) return true;
  const int answer =
      MessageBox("Save changes to " + Title().toStdString() + "?", caption_, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
  if (answer == IDCANCEL) return false;
  if (answer == IDNO) return true;
  if (path_.empty()) return saveAs_ && saveAs_();
  return OnSaveDocument(path_);
}

void Document::AddView(ScrollView* view) { views_.push_back(view); }

void Document::RemoveView(ScrollView* view) {
  views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void Document::UpdateAllViews(ScrollView* sender) {
  for (ScrollView* view : views_)
    if (view != sender) view->OnUpdate();
}

}  // namespace platform
