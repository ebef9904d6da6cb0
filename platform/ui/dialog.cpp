// Creating and destroying template dialogs.
#include "platform/dialog.h"

#include <QCoreApplication>

#include "template_dialog.h"

namespace platform {

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

}  // namespace platform
