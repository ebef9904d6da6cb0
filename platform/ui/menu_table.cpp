#include "platform/menu_table.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <cassert>

#include "platform/hooks.h"

namespace platform {

std::string MenuItemName(const char* name, int index) {
  return index < 0 ? std::string(name) : std::string(name) + "(" + std::to_string(index) + ")";
}

QAction* MenuSet::Item(const std::string& name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

QMenu* MenuSet::Submenu(const std::string& name) const {
  auto it = menus_.find(name);
  return it == menus_.end() ? nullptr : it->second;
}

MenuSet BuildMenus(const std::vector<MenuRow>& rows, QWidget* owner,
                   const std::function<bool(const std::string&)>& isBuilt,
                   const std::function<void(const std::string&, int)>& command) {
  MenuSet set;
  std::vector<QMenu*> open;  // open[level - 1]: the menu that rows of level + 1 go into
  for (size_t i = 0; i < rows.size(); ++i) {
    const MenuRow& row = rows[i];
    const std::string name = MenuItemName(row.name, row.index);
    const bool hasChildren = i + 1 < rows.size() && rows[i + 1].level > row.level;
    assert(row.level >= 1 && static_cast<size_t>(row.level) <= open.size() + 1);
    open.resize(row.level - 1);
    QAction* action;
    if (row.level == 1 || hasChildren) {
      QMenu* menu = new QMenu(QString::fromUtf8(row.caption), owner);
      menu->setObjectName(QString::fromStdString(name));
      if ((row.state & kMenuWindowList) != 0) menu->setProperty(kWindowListProperty, true);
      if (row.level == 1) {
        set.topLevel_.push_back(menu);
      } else {
        open.back()->addMenu(menu);
      }
      action = menu->menuAction();
      open.push_back(menu);
      set.menus_[name] = menu;
    } else if (std::string(row.caption) == "-") {
      action = open.back()->addSeparator();
    } else {
      action = open.back()->addAction(QString::fromUtf8(row.caption));
      if (*row.shortcut != '\0') action->setShortcut(QKeySequence(QString(row.shortcut)));
      const std::string rowName = row.name;
      const int index = row.index;
      QObject::connect(action, &QAction::triggered, owner, [command, rowName, index] {
        GuardedCall([&] { command(rowName, index); });
      });
    }
    action->setObjectName(QString::fromStdString(name));
    const bool built = *row.needs == '\0' || isBuilt(row.needs);
    action->setEnabled((row.state & kMenuOff) == 0 && built);
    action->setVisible((row.state & kMenuHidden) == 0);
    set.byName_[name] = action;
    set.items_.push_back(action);
  }
  return set;
}

}  // namespace platform
