#pragma once
// Forms and the form manager.
//
// A Form is a window of the system, named as the system names it (the
// objectName is the form name). Its geometry is in twips: Left and Top are
// the corner of the window's frame, Width and Height the size inside the
// window manager's decoration (twips.h; for an MDI child, all four are the
// frame of its sub-window), and ScaleWidth/ScaleHeight the inner area. A
// form's events are virtual functions that a form overrides:
//   OnLoad        once, when the manager creates it, before it is shown
//   OnActivate / OnDeactivate   an MDI child became or stopped being the active one
//   OnQueryUnload(cancel)       before an unload; setting cancel refuses it
//   OnUnload      the form is leaving the list of loaded forms
//   OnResize      its size changed (never while minimized)
//   OnRestored    an MDI child came back from minimized or maximized, its
//                 normal geometry in place
//   OnKeyDown(keyCode, shift)   a key; with KeyPreview on the form sees the keys
//                 of its controls first, and setting keyCode to 0 consumes it
//
// A dialog declares its default and cancel buttons (SetDialogButtons): Return
// anywhere in it presses the default button (the push button that has the
// focus, when one has it), Escape the cancel button, as in a dialog box.
//
// The FormManager knows every form name of the system as a table: its kind
// and, once the code that builds the form registers one, its factory. Names
// whose form is not built yet are known as "not built": loading or unloading
// them does nothing. An unknown name is a programming error (assert).
//
// A form name may also have instances (the editor windows): LoadInstance
// makes a fresh one each time, registered in Loaded() in load order, and
// Unload(form) and Show(form) reach one instance. Get(name) gives the first.
//
// Placement: an MDI child's normal geometry is kept inside the frame's area
// (child_fit.h). A dialog (a top-level form other than the frame) opens
// centred on the frame the first time it is shown, unless code placed it;
// its title bar offers the close button, no minimize or maximize.
//
// Load(name) creates the form on first use, runs OnLoad and returns it (an
// MDI child is shown when it loads, as the frame shows its children); a
// loaded form is returned as it is. Unload(name) runs OnQueryUnload, which
// may refuse, then OnUnload; the form leaves the list at once and is deleted
// later by the event loop, never under a handler still on the stack. A new
// Load makes a fresh instance. Loaded() lists the loaded forms in load order,
// hidden ones included.
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/twips.h"

class QAbstractButton;
class QMdiSubWindow;
class QMenu;

namespace platform {

class CommonDialog;
class FormManager;

class Form : public QMainWindow {
 public:
  explicit Form(const QString& name, QWidget* parent = nullptr);

  std::string Name() const { return objectName().toStdString(); }
  // The caption as set, never the title Qt shows (a frame's title gains the
  // maximised child's name while one is maximised).
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption) {
    caption_ = caption;
    setWindowTitle(caption);
  }

  // 0 normal, 1 minimized, 2 maximized.
  int WindowState() const;
  void SetWindowState(int state);

  TwipsRect Placement() const;
  void SetPlacement(const TwipsRect& rect);
  int Left() const { return Placement().left; }
  int Top() const { return Placement().top; }
  int Width() const { return Placement().width; }
  int Height() const { return Placement().height; }
  void SetLeft(int twips);
  void SetTop(int twips);
  void SetWidth(int twips);
  void SetHeight(int twips);
  int ScaleWidth() const { return PixelsToTwips(width()); }
  int ScaleHeight() const { return PixelsToTwips(height()); }

  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool on);

  // Return presses `defaultButton`, Escape `cancelButton` (either may be
  // null; a disabled or hidden button is not pressed). Set once.
  void SetDialogButtons(QAbstractButton* defaultButton, QAbstractButton* cancelButton);

  // The window that carries the form: its MDI sub-window, or the form itself.
  QWidget* Outer() const;
  QMdiSubWindow* SubWindow() const;

  // A child's own top-level menus: while it is the active child the frame's
  // menu bar shows these in place of its own.
  const std::vector<QMenu*>& OwnMenus() const { return ownMenus_; }
  void SetOwnMenus(std::vector<QMenu*> menus) { ownMenus_ = std::move(menus); }

  FormManager* Manager() const { return manager_; }

  // The events (see above); public so the manager and frame can raise them.
  virtual void OnLoad() {}
  virtual void OnActivate() {}
  virtual void OnDeactivate() {}
  virtual void OnQueryUnload(bool& /*cancel*/) {}
  virtual void OnUnload() {}
  virtual void OnResize() {}
  virtual void OnRestored() {}
  virtual void OnKeyDown(int& /*keyCode*/, int /*shift*/) {}

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class FormManager;
  FormManager* manager_ = nullptr;
  bool keyPreview_ = false;
  const QEvent* lastPreviewed_ = nullptr;
  QPointer<QWidget> lastReceiver_;
  std::vector<QMenu*> ownMenus_;
  QString caption_;
};

enum class FormKind {
  Frame,     // the MDI frame (the main window)
  MdiChild,  // a child window of the frame
  Dialog,    // a top-level window (dialogs, modal forms)
};

// The frame that holds the MDI children, as the form manager sees it (the
// MDI frame of mdi_frame.h is the one).
class ChildHost {
 public:
  // Puts a child into a (hidden) sub-window of the frame.
  virtual QMdiSubWindow* AddChild(Form* child) = 0;
  virtual Form* ActiveChild() const = 0;
  virtual void ActivateChild(Form* child) = 0;
  // The frame's own close order; true when the frame unloaded.
  virtual bool CloseFrame() = 0;
  // The frame's common dialog (file, font, printer, help), whose properties
  // stay between uses; null while the frame is not loaded or keeps none.
  virtual CommonDialog* FrameDialog() { return nullptr; }

 protected:
  ~ChildHost() = default;
};

class FormManager {
 public:
  using Factory = std::function<Form*()>;

  // A form name of the system whose form is not built yet.
  void Declare(const std::string& name, FormKind kind);
  // Binds the factory of a form (declaring it when needed).
  void Register(const std::string& name, FormKind kind, Factory factory);

  bool IsKnown(const std::string& name) const { return table_.count(name) != 0; }
  bool IsBuilt(const std::string& name) const;
  FormKind KindOf(const std::string& name) const;

  Form* Load(const std::string& name);
  // A fresh instance of the form, loaded (OnLoad run) but not shown; an MDI
  // child is in its hidden sub-window. Null when the form is not built.
  Form* LoadInstance(const std::string& name);
  // Loads, shows, brings forward and activates.
  Form* Show(const std::string& name);
  void Show(Form* form);
  void Hide(const std::string& name);
  // False when the form refused in OnQueryUnload; true otherwise (also for a
  // form that is not loaded or not built).
  bool Unload(const std::string& name);
  bool Unload(Form* form);
  Form* Get(const std::string& name) const;
  bool IsLoaded(const std::string& name) const { return Get(name) != nullptr; }
  // Loaded and visible.
  bool IsShown(const std::string& name) const;
  // Whether this very form is loaded (false for null and for one unloaded).
  bool IsLoaded(const Form* form) const;
  std::vector<Form*> Loaded() const;

  // Loads the form and shows it modally through the modal-form hook.
  void ShowModal(const std::string& name);

  // The frame that holds the MDI children (set by the frame when it loads).
  ChildHost* Frame() const { return frame_; }
  // The frame's common dialog, which the windows' file, font and print
  // commands share; null without a loaded frame.
  CommonDialog* FrameDialog() const { return frame_ != nullptr ? frame_->FrameDialog() : nullptr; }
  void SetFrame(ChildHost* frame) { frame_ = frame; }

  // Removes a loaded form without asking: OnUnload, then deferred deletion.
  void UnloadNow(Form* form);

 private:
  bool IsFrame(Form* form) const {
    return frame_ != nullptr && dynamic_cast<ChildHost*>(form) == frame_;
  }

  struct Entry {
    FormKind kind;
    Factory factory;
  };
  std::map<std::string, Entry> table_;
  std::vector<QPointer<Form>> loaded_;
  ChildHost* frame_ = nullptr;
};

// True (-1 in the callers' 16-bit flags) when a loaded form's caption equals
// `text`, or contains it when `containing` is set (case-sensitive). The walk
// goes over every loaded form.
bool FindFormByCaption(const FormManager& forms, const QString& text, bool containing);

}  // namespace platform
