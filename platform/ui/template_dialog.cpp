// Building a dialog from its template, the dialog's side of the messages
// (clicks, scroll actions, becoming visible), and the calls that create,
// address and destroy a dialog by its handle.
#include "template_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>
#include <unordered_set>

#include "platform/window.h"

namespace platform {
namespace {

constexpr char kIdProperty[] = "dialogItemId";

// The dialogs of this module copy. Not a static object: a module's detach
// still destroys its dialog while the module's statics are being destroyed;
// the module releases it after its detach (ReleaseWindowLayer).
std::unordered_set<TemplateDialog*>* gLiveDialogs = nullptr;

std::unordered_set<TemplateDialog*>& LiveDialogs() {
  if (gLiveDialogs == nullptr) gLiveDialogs = new std::unordered_set<TemplateDialog*>;
  return *gLiveDialogs;
}

QFont DialogFont(const DialogTemplate& t, const QWidget* parent) {
  QFont font = parent != nullptr ? parent->font() : QApplication::font();
  if (t.fontFamily != nullptr) font.setFamily(QString::fromLatin1(t.fontFamily));
  if (t.fontPoints > 0) font.setPointSize(t.fontPoints);
  return font;
}

Qt::Alignment TextAlignment(unsigned style) {
  if (style & kAlignCenter) return Qt::AlignHCenter | Qt::AlignTop;
  if (style & kAlignRight) return Qt::AlignRight | Qt::AlignTop;
  return Qt::AlignLeft | Qt::AlignTop;
}

uint16_t ScrollCodeOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    default: return SB_THUMBTRACK;
  }
}

// A static text gets the width its text needs where the template's
// rectangle is narrower (the font here may be wider than the one it was
// drawn for), growing away from the edge it is aligned to.
void FitTextWidth(QLabel& label) {
  const int needed = label.sizeHint().width();
  const QRect place = label.geometry();
  if (needed <= place.width()) return;
  const int grow = needed - place.width();
  int left = place.left();
  if (label.alignment() & Qt::AlignRight) {
    left -= grow;
  } else if (label.alignment() & Qt::AlignHCenter) {
    left -= grow / 2;
  }
  label.setGeometry(std::max(0, left), place.top(), needed, place.height());
}

}  // namespace

bool IsControl(const QWidget* widget) {
  return widget != nullptr && widget->property(kIdProperty).isValid();
}

int ControlId(const QWidget* widget) {
  QVariant id = widget != nullptr ? widget->property(kIdProperty) : QVariant();
  return id.isValid() ? id.toInt() : IDC_STATIC;
}

TemplateDialog::TemplateDialog(const DialogTemplate& t, QWidget* parent, WindowProcedure procedure)
    : QWidget(parent), procedure_(std::move(procedure)) {
  LiveDialogs().insert(this);
  setObjectName(QString::fromLatin1(t.name));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFont(DialogFont(t, parent));
  // Dialog base units of the font, as Win32 takes them.
  QFontMetrics metrics(font());
  baseX_ = (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2;
  baseY_ = metrics.height();
  // The white background of the dialog and its static texts.
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);

  hide();
  resize(toPixels(0, 0, t.width, t.height).size());
  QWidget* previous = nullptr;
  for (const ControlTemplate& control : t.controls) previous = build(control, previous);
  RegisterWindow(this, [this](WindowHandle, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return call(message, wParam, lParam);
  });
  watchVisibility();
}

TemplateDialog::~TemplateDialog() {
  UnregisterWindow(this);
  LiveDialogs().erase(this);
}

TemplateDialog* TemplateDialog::From(WindowHandle handle) {
  auto* dialog = static_cast<TemplateDialog*>(handle);
  return LiveDialogs().contains(dialog) ? dialog : nullptr;
}

QWidget* TemplateDialog::item(int id) const {
  for (const auto& [itemId, widget] : items_) {
    if (itemId == id) return widget;
  }
  return nullptr;
}

intptr_t TemplateDialog::call(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (!procedure_) return 0;
  // A copy: the procedure may destroy its own dialog.
  WindowProcedure procedure = procedure_;
  return procedure(this, message, wParam, lParam);
}

QRect TemplateDialog::toPixels(int x, int y, int width, int height) const {
  auto px = [](int units, int base, int per) { return (units * base + per / 2) / per; };
  return QRect(px(x, baseX_, 4), px(y, baseY_, 8), px(width, baseX_, 4), px(height, baseY_, 8));
}

QWidget* TemplateDialog::build(const ControlTemplate& c, QWidget* previous) {
  QString text = QString::fromLocal8Bit(c.text != nullptr ? c.text : "");
  uintptr_t command = MAKEWPARAM(static_cast<uint16_t>(c.id), BN_CLICKED);
  QWidget* widget = nullptr;
  switch (c.kind) {
    case ControlKind::GroupBox: widget = new QGroupBox(text, this); break;
    case ControlKind::Text: {
      auto* label = new QLabel(text, this);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(TextAlignment(c.style));
      widget = label;
      break;
    }
    case ControlKind::Place: widget = new PicturePlace(this); break;
    case ControlKind::PushButton: {
      auto* button = new QPushButton(text, this);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this,
              [this, button, command] { call(WM_COMMAND, command, reinterpret_cast<intptr_t>(button)); });
      widget = button;
      break;
    }
    case ControlKind::RadioButton: {
      auto* radio = new QRadioButton(text, this);
      // A group runs from its first radio button to the next group start or
      // the next control of another kind.
      QButtonGroup* group = nullptr;
      if (!(c.style & kGroupStart) && qobject_cast<QRadioButton*>(previous) != nullptr) {
        group = static_cast<QRadioButton*>(previous)->group();
      }
      if (group == nullptr) group = new QButtonGroup(this);
      group->addButton(radio);
      connect(radio, &QRadioButton::clicked, this,
              [this, radio, command] { call(WM_COMMAND, command, reinterpret_cast<intptr_t>(radio)); });
      widget = radio;
      break;
    }
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(text, this);
      connect(box, &QCheckBox::clicked, this,
              [this, box, command] { call(WM_COMMAND, command, reinterpret_cast<intptr_t>(box)); });
      widget = box;
      break;
    }
    case ControlKind::Edit: widget = new QLineEdit(text, this); break;
    case ControlKind::List: {
      auto* list = new QPlainTextEdit(this);
      list->setReadOnly(true);
      list->setLineWrapMode(QPlainTextEdit::NoWrap);
      list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      list->setPlainText(text);
      widget = list;
      break;
    }
    case ControlKind::VScroll:
    case ControlKind::HScroll: {
      auto* bar = new QScrollBar(c.kind == ControlKind::VScroll ? Qt::Vertical : Qt::Horizontal, this);
      bar->setRange(0, 0);
      connectScrollBar(bar);
      widget = bar;
      break;
    }
  }
  widget->setProperty(kIdProperty, c.id);
  widget->setObjectName(QStringLiteral("ctl%1").arg(c.id));
  widget->setGeometry(toPixels(c.x, c.y, c.width, c.height));
  if (auto* label = qobject_cast<QLabel*>(widget)) FitTextWidth(*label);
  widget->setEnabled(!(c.style & kDisabled));
  widget->setVisible(!(c.style & kHidden));
  items_.emplace_back(c.id, widget);
  return widget;
}

void TemplateDialog::connectScrollBar(QScrollBar* bar) {
  uint32_t message = bar->orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL;
  auto handle = reinterpret_cast<intptr_t>(bar);
  // The bar does not move by itself: put the slider back where it was and let
  // the procedure decide the new position.
  connect(bar, &QScrollBar::actionTriggered, this, [this, bar, message, handle](int action) {
    int wanted = bar->sliderPosition();
    bar->setSliderPosition(bar->value());
    if (action == QAbstractSlider::SliderNoAction) return;
    call(message, MAKEWPARAM(ScrollCodeOf(action), static_cast<uint16_t>(wanted)), handle);
  });
  connect(bar, &QScrollBar::sliderReleased, this, [this, bar, message, handle] {
    call(message, MAKEWPARAM(SB_THUMBPOSITION, static_cast<uint16_t>(bar->value())), handle);
    call(message, MAKEWPARAM(SB_ENDSCROLL, 0), handle);
  });
}

// Minimizing a frame or hiding it hides the dialog from the screen; when it
// comes back the procedure gets WM_PAINT and redraws everything.
void TemplateDialog::watchVisibility() {
  for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) w->installEventFilter(this);
}

bool TemplateDialog::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange: {
      bool iconic = IsIconic(this);
      if (iconic_ && !iconic) PostCoalescedMessage(this, WM_PAINT, 0, 0);
      iconic_ = iconic;
      break;
    }
    default: break;
  }
  return QWidget::eventFilter(watched, e);
}

bool TemplateDialog::event(QEvent* e) {
  if (e->type() == QEvent::Show || e->type() == QEvent::Hide) eventFilter(this, e);
  return QWidget::event(e);
}

WindowHandle CreateDialog(const DialogTemplate& dialogTemplate, WindowHandle parent,
                          WindowProcedure procedure, intptr_t param) {
  if (parent == nullptr) return nullptr;
  auto* dialog = new TemplateDialog(dialogTemplate, AsWidget(parent), std::move(procedure));
  dialog->call(WM_INITDIALOG, 0, param);
  return dialog;
}

bool DestroyWindow(WindowHandle dialog) {
  // Without the application object (a module unloaded after it) the widgets
  // are gone or must not be touched.
  if (QCoreApplication::instance() == nullptr) return false;
  TemplateDialog* d = TemplateDialog::From(dialog);
  if (d == nullptr) return false;
  QCoreApplication::removePostedEvents(d);
  delete d;
  return true;
}

intptr_t SendMessage(WindowHandle dialog, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  TemplateDialog* d = TemplateDialog::From(dialog);
  return d != nullptr ? d->call(message, wParam, lParam) : 0;
}

bool MapDialogRect(WindowHandle dialog, Rect& rect) {
  TemplateDialog* d = TemplateDialog::From(dialog);
  if (d == nullptr) return false;
  QRect r = d->toPixels(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  rect = {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  return true;
}

void PicturePlace::setPicture(Picture picture) {
  picture_ = picture;
  // Readable through Qt alone, from code that does not share this copy of
  // the dialog layer (tests of a module loaded by name).
  setProperty("picture", static_cast<int>(picture));
  update();
}

void PicturePlace::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawPicture(painter, rect(), picture_);
}

void ReleaseDialogList() {
  delete gLiveDialogs;
  gLiveDialogs = nullptr;
}

}  // namespace platform
