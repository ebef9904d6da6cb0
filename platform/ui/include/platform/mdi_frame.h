#pragma once
// The MDI frame: a Form with a QMdiArea holding the MDI children.
//
// - Menus: the frame's own top-level menus are in its menu bar while no
//   child with menus of its own is active; while such a child is active, the
//   one menu bar shows the child's top-level menus instead. Each form owns its
//   menus, and only the shown set's shortcuts are live.
// - The window list: a menu built with kMenuWindowList (or given to
//   AttachWindowList) lists the visible
//   children below its own items, rebuilt each time it opens; the active child
//   is checked and choosing an entry activates that child.
// - Closing the frame (the user's close button or CloseFrame) follows this
//   order: the frame's OnQueryUnload; each loaded child's OnQueryUnload in load
//   order, where any refusal abandons the close with nothing unloaded; each
//   child is unloaded; the frame's OnUnload. The user's close button on a
//   child runs that child's OnQueryUnload and OnUnload.
// - A child's window starts with a normal geometry of two thirds of the
//   area, so that a child first shown maximized restores to a usable size,
//   and it never comes back to the normal state smaller than its minimum
//   (its minimum size hint, at least 240 x 160 pixels). Its normal geometry
//   lies inside the area when it starts, is placed (Form::SetPlacement) or
//   comes back to the normal state (child_fit.h); the area scrolls to a
//   child that no longer fits after the frame was made smaller.
// - Arrange: 0 cascade (every non-minimized child at its normal size, two
//   thirds of the area, one title bar further down and right than the one
//   before, inside the area, the active one last and in front); 1 tile horizontally (the non-minimized children one
//   above the other at full width with equal heights); 3 arrange icons (the
//   minimized children along the bottom from the left, wrapping upwards).
// - The shown title: the caption, and while a child is maximized the child's
//   part Qt adds (" - [<child's title>]"), also when several children are
//   maximized (each of their sub-windows keeps the frame title it saw).
#include <QMdiArea>

#include "platform/forms.h"

namespace platform {

class MdiFrame : public Form, public ChildHost {
 public:
  MdiFrame(const QString& name, FormManager& forms);
  ~MdiFrame() override;

  QMdiArea* Area() const { return area_; }
  FormManager& Forms() const { return forms_; }

  // Puts a child into a (hidden) sub-window of the area.
  QMdiSubWindow* AddChild(Form* child) override;
  // The active child (the current one when the application is inactive).
  Form* ActiveChild() const override;
  void ActivateChild(Form* child) override;
  std::vector<Form*> Children() const;

  void Arrange(int mode);
  static constexpr int kCascade = 0, kTileHorizontal = 1, kArrangeIcons = 3;

  void SetFrameMenus(std::vector<QMenu*> menus);
  void AttachWindowList(QMenu* menu);
  // The top-level menus the menu bar shows now.
  std::vector<QMenu*> ShownMenus() const;

  // Runs the close order above; true when the frame unloaded.
  bool CloseFrame() override;
  bool Closed() const { return closed_; }
  // True from the frame's OnQueryUnload to the end of its close.
  bool Closing() const { return closing_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void KeepCaptionInTitle();
  void ChildActivated(QMdiSubWindow* window);
  void Cascade(std::vector<QMdiSubWindow*> windows);
  void ShowMenus(const std::vector<QMenu*>& menus);
  void FillWindowList(QMenu* menu);

  FormManager& forms_;
  QMdiArea* area_;
  std::vector<QMenu*> frameMenus_;
  std::vector<QMenu*> shown_;
  QPointer<Form> active_;
  bool closed_ = false;
  bool closing_ = false;
};

}  // namespace platform
