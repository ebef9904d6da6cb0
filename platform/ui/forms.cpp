#include "platform/forms.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cassert>

#include "dialog_keys.h"
#include "platform/child_fit.h"
#include "platform/controls.h"
#include "platform/hooks.h"

namespace platform {

Form::Form(const QString& name, QWidget* parent) : QMainWindow(parent) {
  setObjectName(name);
}

QMdiSubWindow* Form::SubWindow() const {
  return dynamic_cast<QMdiSubWindow*>(parentWidget());
}

QWidget* Form::Outer() const {
  if (QMdiSubWindow* sub = SubWindow()) return sub;
  return const_cast<Form*>(this);
}

int Form::WindowState() const {
  const QWidget* outer = Outer();
  if (outer->isMinimized()) return 1;
  if (outer->isMaximized()) return 2;
  return 0;
}

void Form::SetWindowState(int state) {
  QWidget* outer = Outer();
  const bool visible = outer->isVisible();
  Qt::WindowStates states = outer->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (state == 1) states |= Qt::WindowMinimized;
  if (state == 2) states |= Qt::WindowMaximized;
  outer->setWindowState(states);
  if (visible) outer->show();
}

TwipsRect Form::Placement() const {
  return WidgetTwips(*Outer());
}

void Form::SetPlacement(const TwipsRect& rect) {
  SetWidgetTwips(*Outer(), rect);
  if (QMdiSubWindow* sub = SubWindow()) KeepInArea(*sub);
}

namespace {
void SetPlacementField(Form& form, int TwipsRect::*field, int twips) {
  TwipsRect rect = form.Placement();
  rect.*field = twips;
  form.SetPlacement(rect);
}
}  // namespace

void Form::SetLeft(int twips) {
  SetPlacementField(*this, &TwipsRect::left, twips);
}
void Form::SetTop(int twips) {
  SetPlacementField(*this, &TwipsRect::top, twips);
}
void Form::SetWidth(int twips) {
  SetPlacementField(*this, &TwipsRect::width, twips);
}
void Form::SetHeight(int twips) {
  SetPlacementField(*this, &TwipsRect::height, twips);
}

void Form::SetKeyPreview(bool on) {
  if (on == keyPreview_) return;
  keyPreview_ = on;
  if (on) {
    qApp->installEventFilter(this);
  } else {
    qApp->removeEventFilter(this);
  }
}

void Form::SetDialogButtons(QAbstractButton* defaultButton, QAbstractButton* cancelButton) {
  if (auto* push = qobject_cast<QPushButton*>(defaultButton)) push->setDefault(true);
  new DialogKeys(*this, defaultButton, cancelButton);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
  // A key goes to the focus widget first and then up through its parents;
  // the form sees it once, before the focus widget does.
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget == this || !isAncestorOf(widget)) return false;
  // The same event at a parent of the widget that had it last is its way up.
  const bool propagating = event == lastPreviewed_ && lastReceiver_ && widget != lastReceiver_ &&
                           widget->isAncestorOf(lastReceiver_);
  lastPreviewed_ = event;
  lastReceiver_ = widget;
  if (propagating) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  int code = KeyCodeOf(key->key());
  if (code == 0) return false;
  OnKeyDown(code, ShiftMaskOf(key->modifiers()));
  return code == 0;
}

void Form::keyPressEvent(QKeyEvent* event) {
  if (!keyPreview_) {
    int code = KeyCodeOf(event->key());
    if (code != 0) OnKeyDown(code, ShiftMaskOf(event->modifiers()));
  }
  QMainWindow::keyPressEvent(event);
}

void Form::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (WindowState() != 1) OnResize();
}

void Form::closeEvent(QCloseEvent* event) {
  // The user's close: the manager asks the form and unloads it.
  event->ignore();
  if (manager_ != nullptr) GuardedCall([&] { manager_->Unload(this); });
}

void Form::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // A dialog opens over the frame, not at the screen's corner; once shown
  // (or placed by code) it keeps its place.
  if (!isWindow() || testAttribute(Qt::WA_Moved) || manager_ == nullptr) return;
  if (manager_->KindOf(Name()) != FormKind::Dialog) return;
  auto* frame = dynamic_cast<QWidget*>(manager_->Frame());
  if (frame == nullptr || frame == this || !frame->isVisible()) return;
  // A frame maximized just now (the tip at start-up) may not have its
  // maximized geometry yet, but it will cover the screen's free room.
  const QScreen* screen = frame->screen();
  const QRect room = screen != nullptr ? screen->availableGeometry() : QRect();
  QRect place(QPoint(), frameGeometry().size());
  place.moveCenter(frame->isMaximized() && screen != nullptr ? room.center()
                                                             : frame->frameGeometry().center());
  if (screen != nullptr) {
    place.moveLeft(std::max(room.left(), std::min(place.left(), room.right() + 1 - place.width())));
    place.moveTop(std::max(room.top(), std::min(place.top(), room.bottom() + 1 - place.height())));
  }
  move(place.topLeft());
}

void Form::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || SubWindow() != nullptr) return;
  if (manager_ != nullptr && manager_->KindOf(Name()) != FormKind::Dialog) return;
  if (isActiveWindow()) {
    OnActivate();
  } else {
    OnDeactivate();
  }
}

void FormManager::Declare(const std::string& name, FormKind kind) {
  if (!IsKnown(name)) table_[name] = Entry{kind, nullptr};
}

void FormManager::Register(const std::string& name, FormKind kind, Factory factory) {
  table_[name] = Entry{kind, std::move(factory)};
}

bool FormManager::IsBuilt(const std::string& name) const {
  auto it = table_.find(name);
  return it != table_.end() && it->second.factory != nullptr;
}

FormKind FormManager::KindOf(const std::string& name) const {
  auto it = table_.find(name);
  assert(it != table_.end() && "unknown form name");
  return it == table_.end() ? FormKind::Dialog : it->second.kind;
}

Form* FormManager::Get(const std::string& name) const {
  for (const QPointer<Form>& form : loaded_) {
    if (form && form->objectName().toStdString() == name) return form;
  }
  return nullptr;
}

std::vector<Form*> FormManager::Loaded() const {
  std::vector<Form*> forms;
  for (const QPointer<Form>& form : loaded_) {
    if (form) forms.push_back(form);
  }
  return forms;
}

Form* FormManager::Load(const std::string& name) {
  assert(IsKnown(name) && "unknown form name");
  if (Form* form = Get(name)) return form;
  Form* form = LoadInstance(name);
  // A form that unloaded itself during its load is gone.
  if (form == nullptr || Get(name) != form) return nullptr;
  if (KindOf(name) == FormKind::MdiChild && frame_ != nullptr) {
    form->Outer()->show();
    form->show();
  }
  return form;
}

Form* FormManager::LoadInstance(const std::string& name) {
  assert(IsKnown(name) && "unknown form name");
  if (!IsBuilt(name)) return nullptr;
  const Entry& entry = table_.at(name);
  Form* form = entry.factory();
  form->manager_ = this;
  if (entry.kind == FormKind::Dialog && form->isWindow()) {
    // A dialog box keeps its title bar and close button; minimizing or
    // maximizing it is of no use.
    form->setWindowFlags((form->windowFlags() & ~Qt::WindowMinMaxButtonsHint) |
                         Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint);
  }
  loaded_.push_back(form);
  if (entry.kind == FormKind::MdiChild && frame_ != nullptr) frame_->AddChild(form);
  QPointer<Form> alive(form);
  form->OnLoad();
  const bool stillLoaded =
      alive && std::find(loaded_.begin(), loaded_.end(), form) != loaded_.end();
  return stillLoaded ? form : nullptr;
}

Form* FormManager::Show(const std::string& name) {
  Form* form = Load(name);
  if (form != nullptr) Show(form);
  return form;
}

void FormManager::Show(Form* form) {
  QWidget* outer = form->Outer();
  outer->show();
  form->show();
  outer->raise();
  if (frame_ != nullptr && form->SubWindow() != nullptr) {
    frame_->ActivateChild(form);
  } else {
    outer->activateWindow();
  }
}

void FormManager::Hide(const std::string& name) {
  if (Form* form = Get(name)) form->Outer()->hide();
}

bool FormManager::Unload(const std::string& name) {
  assert(IsKnown(name) && "unknown form name");
  return Unload(Get(name));
}

bool FormManager::Unload(Form* form) {
  if (form == nullptr || std::find(loaded_.begin(), loaded_.end(), form) == loaded_.end()) {
    return true;
  }
  if (frame_ != nullptr && IsFrame(form)) return frame_->CloseFrame();
  bool cancel = false;
  form->OnQueryUnload(cancel);
  if (cancel) return false;
  UnloadNow(form);
  return true;
}

void FormManager::UnloadNow(Form* form) {
  auto it = std::find(loaded_.begin(), loaded_.end(), form);
  if (it == loaded_.end()) return;
  loaded_.erase(it);
  form->OnUnload();
  QWidget* outer = form->Outer();
  outer->hide();
  if (QMdiSubWindow* sub = form->SubWindow(); sub != nullptr && sub->mdiArea() != nullptr) {
    sub->mdiArea()->removeSubWindow(sub);
  }
  if (IsFrame(form)) frame_ = nullptr;
  outer->deleteLater();
}

bool FormManager::IsLoaded(const Form* form) const {
  return form != nullptr && std::find(loaded_.begin(), loaded_.end(), form) != loaded_.end();
}

bool FormManager::IsShown(const std::string& name) const {
  const Form* form = Get(name);
  return form != nullptr && form->isVisible();
}

void FormManager::ShowModal(const std::string& name) {
  if (Form* form = Load(name)) RunModalForm(*form);
}

bool FindFormByCaption(const FormManager& forms, const QString& text, bool containing) {
  bool found = false;
  for (Form* form : forms.Loaded()) {
    const QString caption = form->Caption();
    if (containing ? caption.contains(text, Qt::CaseSensitive) : caption == text) found = true;
  }
  return found;
}

}  // namespace platform
