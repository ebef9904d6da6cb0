#pragma once
// The widget behind a template dialog: its controls by id, its procedure,
// the scroll-bar adapter and the watch for becoming visible again.
#include <QPointer>
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialog.h"
#include "platform/pictures.h"

class QScrollBar;

namespace platform {

// Frees the list of live dialogs (ReleaseWindowLayer).
void ReleaseDialogList();

class TemplateDialog : public QWidget {
 public:
  TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent, WindowProcedure procedure);
  ~TemplateDialog() override;

  // The live dialog behind a handle, or null.
  static TemplateDialog* From(WindowHandle handle);

  QWidget* item(int id) const;
  intptr_t call(uint32_t message, uintptr_t wParam, intptr_t lParam);
  QRect toPixels(int x, int y, int width, int height) const;

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QWidget* build(const ControlTemplate& control, QWidget* previous);
  void connectScrollBar(QScrollBar* bar);
  void watchVisibility();

  WindowProcedure procedure_;
  std::vector<std::pair<int, QWidget*>> items_;
  int baseX_ = 1, baseY_ = 1;
  bool iconic_ = true;
};

// A picture place: draws its picture stretched to its rectangle.
class PicturePlace : public QWidget {
 public:
  explicit PicturePlace(QWidget* parent) : QWidget(parent) {}
  void setPicture(Picture picture);
  Picture picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  Picture picture_ = Picture::None;
};

// The id a control was created with (IDC_STATIC for other widgets).
int ControlId(const QWidget* widget);
// Whether the widget is a control of a template dialog.
bool IsControl(const QWidget* widget);
// A control's text as its kind holds it ("\r\n" line ends for lists).
std::string ControlText(const QWidget* control);
void SetControlText(QWidget* control, const std::string& text);

inline QWidget* AsWidget(WindowHandle handle) { return static_cast<QWidget*>(handle); }

}  // namespace platform
