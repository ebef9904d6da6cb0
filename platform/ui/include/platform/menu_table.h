#pragma once
// Menus from a table. Each row gives the level (1 a menu of the bar, 2 an
// item, 3 an item of a submenu, and so on), the menu name, the caption with
// its "&" access key ("-" for a separator), the shortcut ("Ctrl+N", "F3",
// "Shift+F8"), the initial state, the control-array index (-1 for none) and
// what the command needs: nothing, or a form or operation name that the
// builder's `isBuilt` answers. An item whose need is not built is disabled at
// creation; that is decided once.
//
// Every QMenu and QAction has the row's name as objectName; a control-array
// element is named "<name>(<index>)". A triggered item calls `command` with
// its row name and index.
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace platform {

enum MenuState : unsigned {
  kMenuOn = 0,
  kMenuOff = 1,         // disabled at creation
  kMenuHidden = 2,      // invisible at creation
  kMenuWindowList = 4,  // lists the MDI frame's children while it is shown
};

// The property that marks a window-list menu for the MDI frame.
inline constexpr const char* kWindowListProperty = "tavixWindowList";

struct MenuRow {
  int level;
  const char* name;
  const char* caption;
  const char* shortcut = "";
  unsigned state = kMenuOn;
  int index = -1;
  const char* needs = "";
};

class MenuSet {
 public:
  // The top-level menus, in table order.
  const std::vector<QMenu*>& TopLevel() const { return topLevel_; }
  // An item or menu by its objectName ("mnusearch", "mnuRecentFile(1)"), or
  // null. For a menu it is the menu's own action (enable, visible, caption).
  QAction* Item(const std::string& name) const;
  QMenu* Submenu(const std::string& name) const;
  // Every action in table order (tests read the tree back).
  const std::vector<QAction*>& Items() const { return items_; }

 private:
  friend MenuSet BuildMenus(const std::vector<MenuRow>&, QWidget*,
                            const std::function<bool(const std::string&)>&,
                            const std::function<void(const std::string&, int)>&);
  std::vector<QMenu*> topLevel_;
  std::vector<QAction*> items_;
  std::map<std::string, QAction*> byName_;
  std::map<std::string, QMenu*> menus_;
};

// Builds the menus of `rows` owned by `owner`. Commands run inside
// GuardedCall.
MenuSet BuildMenus(const std::vector<MenuRow>& rows, QWidget* owner,
                   const std::function<bool(const std::string& needs)>& isBuilt,
                   const std::function<void(const std::string& name, int index)>& command);

// "mnuRecentFile(1)" for an array element, else the name.
std::string MenuItemName(const char* name, int index);

}  // namespace platform
