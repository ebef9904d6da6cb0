#include "platform/mdi_frame.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QWindowStateChangeEvent>
#include <algorithm>

#include "platform/child_fit.h"
#include "platform/hooks.h"
#include "platform/menu_table.h"

namespace platform {

namespace {
const char* const kWindowListEntry = "tavixWindowListEntry";

// An MDI child's window: it comes back from minimized or maximized no
// smaller than it can be used and inside the area, and then tells its form.
class ChildWindow : public QMdiSubWindow {
 protected:
  void changeEvent(QEvent* event) override {
    QMdiSubWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || isMinimized() || isMaximized()) return;
    resize(size().expandedTo(LeastNormalSize(*this)));
    KeepInArea(*this);
    const Qt::WindowStates was = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if (auto* form = dynamic_cast<Form*>(widget());
        form != nullptr && (was & (Qt::WindowMinimized | Qt::WindowMaximized))) {
      form->OnRestored();
    }
  }
};

}  // namespace

MdiFrame::MdiFrame(const QString& name, FormManager& forms)
    : Form(name), forms_(forms), area_(new QMdiArea(this)) {
  area_->setObjectName(name + "Area");
  area_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
  // A child that does not fit (the frame made smaller) is reached by scrolling.
  area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(area_);
  forms_.SetFrame(this);
  QObject::connect(area_, &QMdiArea::subWindowActivated, this,
                   [this](QMdiSubWindow* window) { ChildActivated(window); });
}

MdiFrame::~MdiFrame() {
  // The area goes with the widget tree after this object: it must not call back.
  QObject::disconnect(area_, nullptr, this, nullptr);
  if (forms_.Frame() == this) forms_.SetFrame(nullptr);
}

QMdiSubWindow* MdiFrame::AddChild(Form* child) {
  auto* window = new ChildWindow;
  window->setWidget(child);
  window->setAttribute(Qt::WA_DeleteOnClose);
  area_->addSubWindow(window);
  window->setObjectName(child->objectName() + "Window");
  // A normal geometry to come back to, also for a child first shown
  // maximized: two thirds of the area, inside it wherever the area's own
  // placement put it.
  window->resize(NormalChildSize(*window, area_->viewport()->size()));
  KeepInArea(*window);
  window->hide();
  return window;
}

Form* MdiFrame::ActiveChild() const {
  QMdiSubWindow* window = area_->currentSubWindow();
  return window != nullptr ? dynamic_cast<Form*>(window->widget()) : nullptr;
}

void MdiFrame::ActivateChild(Form* child) {
  if (QMdiSubWindow* window = child->SubWindow()) {
    area_->setActiveSubWindow(window);
    // Without an active application window the area does not report it.
    if (area_->currentSubWindow() != window) ChildActivated(window);
  }
}

std::vector<Form*> MdiFrame::Children() const {
  std::vector<Form*> children;
  for (QMdiSubWindow* window : area_->subWindowList(QMdiArea::CreationOrder)) {
    if (auto* form = dynamic_cast<Form*>(window->widget())) children.push_back(form);
  }
  return children;
}

void MdiFrame::ChildActivated(QMdiSubWindow* window) {
  // The area reports no window while the application is inactive; the
  // current child stays the active one then.
  if (window == nullptr) window = area_->currentSubWindow();
  Form* child = window != nullptr ? dynamic_cast<Form*>(window->widget()) : nullptr;
  if (child != active_) {
    if (active_) active_->OnDeactivate();
    active_ = child;
    if (child != nullptr) child->OnActivate();
  }
  ShowMenus(child != nullptr && !child->OwnMenus().empty() ? child->OwnMenus() : frameMenus_);
  KeepCaptionInTitle();
}

void MdiFrame::SetFrameMenus(std::vector<QMenu*> menus) {
  frameMenus_ = std::move(menus);
  Form* child = ActiveChild();
  ShowMenus(child != nullptr && !child->OwnMenus().empty() ? child->OwnMenus() : frameMenus_);
}

void MdiFrame::ShowMenus(const std::vector<QMenu*>& menus) {
  if (menus == shown_) return;
  QMenuBar* bar = menuBar();
  bar->clear();
  for (QMenu* menu : menus) {
    bar->addMenu(menu);
    if (menu->property(kWindowListProperty).toBool()) {
      menu->setProperty(kWindowListProperty, false);  // attached once
      AttachWindowList(menu);
    }
  }
  shown_ = menus;
}

std::vector<QMenu*> MdiFrame::ShownMenus() const {
  return shown_;
}

void MdiFrame::AttachWindowList(QMenu* menu) {
  QObject::connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowList(menu); });
}

void MdiFrame::FillWindowList(QMenu* menu) {
  for (QAction* action : menu->actions()) {
    if (action->property(kWindowListEntry).toBool()) {
      menu->removeAction(action);
      action->deleteLater();
    }
  }
  int number = 0;
  Form* active = ActiveChild();
  for (QMdiSubWindow* window : area_->subWindowList(QMdiArea::CreationOrder)) {
    auto* form = dynamic_cast<Form*>(window->widget());
    if (form == nullptr || !window->isVisible()) continue;
    if (number == 0) menu->addSeparator()->setProperty(kWindowListEntry, true);
    ++number;
    QAction* entry = menu->addAction(QString("&%1 %2").arg(number).arg(form->Caption()));
    entry->setProperty(kWindowListEntry, true);
    entry->setCheckable(true);
    entry->setChecked(form == active);
    QPointer<Form> target(form);
    QObject::connect(entry, &QAction::triggered, this, [this, target] {
      if (target) ActivateChild(target);
    });
  }
}

void MdiFrame::Arrange(int mode) {
  const QRect area = area_->viewport()->rect();
  std::vector<QMdiSubWindow*> normal, minimized;
  for (QMdiSubWindow* window : area_->subWindowList(QMdiArea::CreationOrder)) {
    if (!window->isVisible()) continue;
    (window->isMinimized() ? minimized : normal).push_back(window);
  }
  if (mode == kCascade) {
    Cascade(normal);
  } else if (mode == kTileHorizontal && !normal.empty()) {
    const int height = area.height() / static_cast<int>(normal.size());
    int top = 0;
    for (QMdiSubWindow* window : normal) {
      if (window->isMaximized()) window->showNormal();
      window->setGeometry(0, top, area.width(), height);
      top += height;
    }
  } else if (mode == kArrangeIcons) {
    int left = 0, bottom = area.height();
    for (QMdiSubWindow* window : minimized) {
      const QSize size = window->size();
      if (left > 0 && left + size.width() > area.width()) {
        left = 0;
        bottom -= size.height();
      }
      window->move(left, bottom - size.height());
      left += size.width();
    }
  }
}

void MdiFrame::Cascade(std::vector<QMdiSubWindow*> windows) {
  // Each window at its normal size, one title bar lower and further right
  // than the one before, starting again at the top left where the next one
  // would leave the area. The active window comes last, in front, so every
  // title bar shows.
  const QSize area = area_->viewport()->size();
  const auto active = std::find(windows.begin(), windows.end(), area_->currentSubWindow());
  if (active != windows.end()) std::rotate(active, active + 1, windows.end());
  int offset = 0;
  for (QMdiSubWindow* window : windows) {
    if (window->isMaximized()) window->showNormal();
    const QSize size = NormalChildSize(*window, area);
    if (offset > 0 &&
        (offset + size.width() > area.width() || offset + size.height() > area.height())) {
      offset = 0;
    }
    window->setGeometry(
        FitInArea(QRect(QPoint(offset, offset), size), area, LeastNormalSize(*window)));
    window->raise();
    offset += window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) +
              window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
  }
}

bool MdiFrame::CloseFrame() {
  if (closed_ || closing_) return closed_;
  closing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{closing_};
  bool cancel = false;
  OnQueryUnload(cancel);
  if (cancel) return false;
  std::vector<Form*> children;
  for (Form* form : forms_.Loaded()) {
    if (form != this) children.push_back(form);
  }
  for (Form* child : children) {
    child->OnQueryUnload(cancel);
    if (cancel) return false;
  }
  for (Form* child : children) forms_.UnloadNow(child);
  closed_ = true;
  if (forms_.Get(Name()) == this) {
    forms_.UnloadNow(this);  // raises OnUnload, hides the frame and deletes it later
  } else {
    OnUnload();
    hide();
  }
  return true;
}

void MdiFrame::changeEvent(QEvent* event) {
  Form::changeEvent(event);
  if (event->type() == QEvent::WindowTitleChange) KeepCaptionInTitle();
}

void MdiFrame::KeepCaptionInTitle() {
  // A maximized child's sub-window writes the title from the frame title it
  // took when it was maximized, or from another maximized one's: with
  // several, a caption replaced since. Only the part of a child still
  // maximized is kept: a closed one's stays in the title otherwise.
  if (Caption().isEmpty()) return;
  const QString title = windowTitle();
  QString childPart;
  for (QMdiSubWindow* window : area_->subWindowList()) {
    const QString part = " - [" + window->windowTitle() + "]";
    if (!window->isHidden() && window->isMaximized() && part.size() > childPart.size() &&
        title.endsWith(part)) {
      childPart = part;
    }
  }
  if (title != Caption() + childPart) setWindowTitle(Caption() + childPart);
}

void MdiFrame::closeEvent(QCloseEvent* event) {
  event->ignore();
  GuardedCall([&] { CloseFrame(); });
}

}  // namespace platform
