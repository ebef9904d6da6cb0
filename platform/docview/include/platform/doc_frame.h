#pragma once
// The main frame of a single-document program: menus and a tool bar built
// from command numbers, a status bar whose message pane shows each command's
// prompt, the standard file commands with the save prompt, the recent-file
// list and the title "<document> - <program>". A command without a handler
// is disabled; enabling is asked again after every command and whenever the
// owner calls UpdateCommands.
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/recent_files.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace platform {

class Document;
class ScrollView;

// The standard commands.
enum StandardCommand : int {
  kFileNew = 0xE100, kFileOpen = 0xE101, kFileSave = 0xE103, kFileSaveAs = 0xE104,
  kFilePrint = 0xE107, kFileRecent = 0xE110,  // kFileRecent + i: recent file i
  kEditCopy = 0xE122, kEditCut = 0xE123, kEditPaste = 0xE125, kEditUndo = 0xE12B,
  kAppAbout = 0xE140, kAppExit = 0xE141, kViewToolBar = 0xE800, kViewStatusBar = 0xE801,
};

struct MenuRow {
  const char* menu;  // non-null starts a menu of the bar with this caption
  int id;            // 0: separator; kFileRecent: the recent-file entries
  const char* caption = "";
  const char* shortcut = "";
  const char* prompt = "";
};

class DocFrame : public QMainWindow {
 public:
  DocFrame(QString programTitle, Document& document, const std::string& registryName, size_t recentFiles);
  ~DocFrame() override;

  void BuildMenus(const std::vector<MenuRow>& rows);
  void BuildToolBar(const std::vector<int>& ids);  // 0: separator
  void BuildStatusBar(const QStringList& indicators);
  void SetView(ScrollView* view);

  QAction* Command(int id) const;
  QMenu* Menu(const QString& caption) const;
  QToolBar* ToolBar() const { return toolBar_; }
  const std::vector<QLabel*>& Indicators() const { return indicators_; }
  void SetHandler(int id, std::function<void()> run, std::function<bool()> enabled = {});
  void SetEnabled(int id, std::function<bool()> enabled);
  // Runs a command as its menu item would (tests and key handlers).
  void Run(int id);
  void UpdateCommands();

  // The standard file commands; false when the user cancelled or it failed.
  bool FileNew();
  bool FileOpen();
  bool OpenDocumentFile(const std::string& path);
  bool FileSave();
  bool FileSaveAs();
  RecentFileList& Recent() { return recent_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Entry {
    QAction* action = nullptr;
    std::function<void()> run;
    std::function<bool()> enabled;
  };
  Entry& entry(int id);
  void fillRecentMenu();
  void updateTitle();
  bool saveTo(const std::string& path);
  void initialUpdate();

  QString programTitle_;
  Document& document_;
  ScrollView* view_ = nullptr;
  RecentFileList recent_;
  std::map<int, Entry> entries_;
  std::map<QString, QMenu*> menus_;
  QMenu* recentMenu_ = nullptr;
  QAction* recentAnchor_ = nullptr;  // the entries go before it
  std::vector<QAction*> recentActions_;
  QToolBar* toolBar_ = nullptr;
  std::vector<QLabel*> indicators_;
};

}  // namespace platform
