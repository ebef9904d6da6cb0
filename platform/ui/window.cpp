// Window calls on QWidget handles.
#include "platform/window.h"

#include <QMdiSubWindow>
#include <algorithm>
#include <cstring>

#include "template_dialog.h"

namespace platform {
namespace {

// The frame that minimizes and restores for `w`, or null for a plain child.
QWidget* FrameOf(QWidget* w) {
  if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w) != nullptr) return w;
  if (qobject_cast<QMdiSubWindow*>(w->parentWidget()) != nullptr) return w->parentWidget();
  return nullptr;
}

int CopyOut(const std::string& text, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  int n = std::min(static_cast<int>(text.size()), size - 1);
  std::memcpy(buffer, text.data(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

}  // namespace

bool SetWindowText(WindowHandle window, const std::string& text) {
  QWidget* w = AsWidget(window);
  if (w == nullptr) return false;
  if (IsControl(w)) {
    SetControlText(w, text);
  } else {
    w->setWindowTitle(QString::fromLocal8Bit(text.c_str()));
  }
  return true;
}

std::string GetWindowText(WindowHandle window) {
  QWidget* w = AsWidget(window);
  if (w == nullptr) return {};
  if (IsControl(w)) return ControlText(w);
  return w->windowTitle().toLocal8Bit().toStdString();
}

int GetWindowText(WindowHandle window, char* buffer, int size) {
  return CopyOut(GetWindowText(window), buffer, size);
}

bool MoveWindow(WindowHandle window, int x, int y, int width, int height) {
  QWidget* w = AsWidget(window);
  if (w == nullptr) return false;
  w->move(x, y);
  w->resize(width, height);
  return true;
}

Rect GetWindowRect(WindowHandle window) {
  QWidget* w = AsWidget(window);
  if (w == nullptr) return {};
  QRect r = w->isWindow() ? w->frameGeometry() : QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Rect GetClientRect(WindowHandle window) {
  QWidget* w = AsWidget(window);
  if (w == nullptr) return {};
  return {0, 0, w->width(), w->height()};
}

bool ShowWindow(WindowHandle window, int command) {
  QWidget* w = AsWidget(window);
  if (w == nullptr) return false;
  bool wasVisible = w->isVisible();
  QWidget* frame = FrameOf(w);
  switch (command) {
    case SW_HIDE: w->hide(); break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      if (frame != nullptr) {
        frame->setAttribute(Qt::WA_ShowWithoutActivating);
        frame->showMinimized();
      } else {
        w->hide();
      }
      break;
    case SW_SHOWMAXIMIZED:
      if (frame != nullptr) frame->showMaximized(); else w->show();
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      if (frame != nullptr && (frame->isMinimized() || frame->isMaximized())) frame->showNormal();
      w->show();
      break;
    default:  // the showing commands, never activating
      w->setAttribute(Qt::WA_ShowWithoutActivating);
      w->show();
      break;
  }
  return wasVisible;
}

bool IsIconic(WindowHandle window) {
  QWidget* w = AsWidget(window);
  if (w == nullptr) return false;
  for (QWidget* p = w; p != nullptr; p = p->parentWidget()) {
    if (p->isMinimized()) return true;
  }
  return !w->isVisible();
}

bool IsWindowVisible(WindowHandle window) {
  QWidget* w = AsWidget(window);
  return w != nullptr && w->isVisible();
}

bool EnableWindow(WindowHandle window, bool enable) {
  QWidget* w = AsWidget(window);
  if (w == nullptr) return false;
  bool wasDisabled = !w->isEnabled();
  w->setEnabled(enable);
  return wasDisabled;
}

bool IsWindowEnabled(WindowHandle window) {
  QWidget* w = AsWidget(window);
  return w != nullptr && w->isEnabled();
}

WindowHandle GetDlgItem(WindowHandle dialog, int id) {
  TemplateDialog* d = TemplateDialog::From(dialog);
  return d != nullptr ? d->item(id) : nullptr;
}

int GetDlgCtrlID(WindowHandle control) { return ControlId(AsWidget(control)); }

}  // namespace platform
