#include "platform/doc_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "platform/document.h"
#include "platform/hooks.h"
#include "platform/scroll_view.h"

namespace platform {

DocFrame::DocFrame(QString programTitle, Document& document, const std::string& registryName,
                   size_t recentFiles)
    : programTitle_(std::move(programTitle)), document_(document), recent_(registryName, recentFiles) {
  SetHandler(kFileNew, [this] { FileNew(); });
  SetHandler(kFileOpen, [this] { FileOpen(); });
  SetHandler(kFileSave, [this] { FileSave(); });
  SetHandler(kFileSaveAs, [this] { FileSaveAs(); });
  SetHandler(kAppExit, [this] { close(); });
  document_.SetSaveRoute(programTitle_.toStdString(), [this] { return FileSaveAs(); });
  connect(&document_, &Document::titleChanged, this, [this] { updateTitle(); });
  connect(&document_, &Document::modifiedChanged, this, [this] { UpdateCommands(); });
  updateTitle();
}

DocFrame::~DocFrame() { document_.SetSaveRoute("", {}); }

DocFrame::Entry& DocFrame::entry(int id) {
  Entry& e = entries_[id];
  if (e.action == nullptr) {
    e.action = new QAction(this);
    e.action->setData(id);
    e.action->setEnabled(false);
    connect(e.action, &QAction::triggered, this, [this, id] { Run(id); });
  }
  return e;
}

QAction* DocFrame::Command(int id) const {
  auto it = entries_.find(id);
  return it == entries_.end() ? nullptr : it->second.action;
}

QMenu* DocFrame::Menu(const QString& caption) const {
  auto it = menus_.find(caption);
  return it == menus_.end() ? nullptr : it->second;
}

void DocFrame::SetHandler(int id, std::function<void()> run, std::function<bool()> enabled) {
  Entry& e = entry(id);
  e.run = std::move(run);
  if (enabled) e.enabled = std::move(enabled);
  UpdateCommands();
}

void DocFrame::SetEnabled(int id, std::function<bool()> enabled) {
  entry(id).enabled = std::move(enabled);
  UpdateCommands();
}

void DocFrame::Run(int id) {
  auto it = entries_.find(id);
  if (it == entries_.end() || !it->second.run) return;
  if (it->second.enabled && !it->second.enabled()) return;
  std::function<void()> run = it->second.run;
  GuardedCall(run);
  UpdateCommands();
}

void DocFrame::UpdateCommands() {
  for (auto& [id, e] : entries_) e.action->setEnabled(e.run && (!e.enabled || e.enabled()));
}

void DocFrame::BuildMenus(const std::vector<MenuRow>& rows) {
  QMenu* menu = nullptr;
  for (const MenuRow& row : rows) {
    if (row.menu != nullptr) {
      menu = menuBar()->addMenu(row.menu);
      menus_[row.menu] = menu;
      continue;
    }
    if (menu == nullptr) continue;
    if (row.id == 0) {
      menu->addSeparator();
    } else if (row.id == kFileRecent) {
      recentMenu_ = menu;
      recentAnchor_ = menu->addSeparator();
      fillRecentMenu();
    } else {
      QAction* action = entry(row.id).action;
      action->setText(row.caption);
      if (*row.shortcut) action->setShortcut(QKeySequence(row.shortcut));
      action->setStatusTip(row.prompt);
      menu->addAction(action);
    }
  }
  UpdateCommands();
}

void DocFrame::BuildToolBar(const std::vector<int>& ids) {
  toolBar_ = addToolBar("Toolbar");
  toolBar_->setObjectName("toolBar");
  for (int id : ids) {
    if (id == 0)
      toolBar_->addSeparator();
    else
      toolBar_->addAction(entry(id).action);
  }
  SetHandler(kViewToolBar, [this] { toolBar_->setVisible(!toolBar_->isVisible()); });
  Command(kViewToolBar)->setCheckable(true);
  connect(toolBar_, &QToolBar::visibilityChanged, Command(kViewToolBar), &QAction::setChecked);
}

void DocFrame::BuildStatusBar(const QStringList& indicators) {
  for (const QString& text : indicators) {
    auto* label = new QLabel(text, statusBar());
    statusBar()->addPermanentWidget(label);
    indicators_.push_back(label);
  }
  statusBar()->showMessage("Ready");
  SetHandler(kViewStatusBar, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
  Command(kViewStatusBar)->setCheckable(true);
  Command(kViewStatusBar)->setChecked(true);
}

void DocFrame::SetView(ScrollView* view) {
  view_ = view;
  setCentralWidget(view);
}

void DocFrame::fillRecentMenu() {
  if (recentMenu_ == nullptr) return;
  for (QAction* a : recentActions_) delete a;
  recentActions_.clear();
  const std::vector<std::string>& paths = recent_.Paths();
  if (paths.empty()) {
    auto* none = new QAction("Recent File", recentMenu_);
    none->setEnabled(false);
    recentActions_.push_back(none);
  }
  for (size_t i = 0; i < paths.size(); ++i) {
    auto* a = new QAction(QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(paths[i])), recentMenu_);
    const std::string path = paths[i];
    connect(a, &QAction::triggered, this, [this, path] { GuardedCall([&] { OpenDocumentFile(path); }); });
    recentActions_.push_back(a);
  }
  for (QAction* a : recentActions_) recentMenu_->insertAction(recentAnchor_, a);
}

void DocFrame::updateTitle() { setWindowTitle(document_.Title() + " - " + programTitle_); }

void DocFrame::initialUpdate() {
  if (view_ != nullptr) view_->OnInitialUpdate();
  UpdateCommands();
}

bool DocFrame::FileNew() {
  if (!document_.SaveModified()) return false;
  document_.OnNewDocument();
  initialUpdate();
  return true;
}

bool DocFrame::FileOpen() {
  CommonDialog dialog("open", this);
  dialog.Flags = CommonDialog::kFileMustExist;
  if (!dialog.ShowOpen()) return false;
  return OpenDocumentFile(dialog.FileName);
}

bool DocFrame::OpenDocumentFile(const std::string& path) {
  if (!document_.SaveModified()) return false;
  // What was read of a refused file is not kept: the document starts afresh,
  // so no file's path ever stands over another file's content.
  const auto refuse = [&] {
    recent_.Remove(path);
    fillRecentMenu();
    document_.OnNewDocument();
    initialUpdate();
  };
  bool opened = false;
  try {
    opened = document_.OnOpenDocument(path);
  } catch (...) {
    refuse();
    throw;
  }
  if (!opened) {
    refuse();
    return false;
  }
  document_.SetPathName(path);
  document_.SetModifiedFlag(false);
  recent_.Add(path);
  fillRecentMenu();
  initialUpdate();
  return true;
}

bool DocFrame::saveTo(const std::string& path) {
  if (!document_.OnSaveDocument(path)) return false;
  document_.SetPathName(path);
  document_.SetModifiedFlag(false);
  recent_.Add(path);
  fillRecentMenu();
  return true;
}

bool DocFrame::FileSave() {
  if (document_.PathName().empty()) return FileSaveAs();
  return saveTo(document_.PathName());
}

bool DocFrame::FileSaveAs() {
  CommonDialog dialog("save", this);
  dialog.FileName = document_.PathName();
  if (!dialog.ShowSave()) return false;
  return saveTo(dialog.FileName);
}

void DocFrame::closeEvent(QCloseEvent* event) {
  bool go = false;
  GuardedCall([&] { go = document_.SaveModified(); });
  if (go)
    event->accept();
  else
    event->ignore();
}

}  // namespace platform
