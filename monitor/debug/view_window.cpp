#include "debug/view_window.h"

#include <QFont>
#include <cmath>

#include "core/settings/mdl_registry.h"
#include "core/settings/registry_layout.h"
#include "platform/grid_control.h"

namespace monitor {

using platform::HKEY_CURRENT_USER;

ViewWindowKey::ViewWindowKey(const char* name)
    : name_(name), path_(std::string(kTavixKey) + "\\" + name) {}

int32_t ViewWindowKey::Number(const char* value) const {
  return RegGetSetting(HKEY_CURRENT_USER, path_, value).AsNumber();
}

void ViewWindowKey::Store(const char* value, int32_t number) const {
  RegSetSetting(HKEY_CURRENT_USER, path_, value, RegValue(number), 4);
}

void ViewWindowKey::Ensure() const {
  EnsureLayoutKey(name_);
}

void ViewWindowKey::ApplyFont(const std::vector<QWidget*>& controls) const {
  const std::string name = RegGetSetting(HKEY_CURRENT_USER, path_, "fontname").AsText();
  if (name.empty()) return;
  const int32_t size = Number("fontsize");
  const int32_t style = Number("fontpara");
  for (QWidget* control : controls) {
    if (auto* grid = dynamic_cast<platform::GridControl*>(control)) {
      grid->SetFontFace(QString::fromStdString(name), size, (style & 2) != 0, (style & 1) != 0);
      continue;
    }
    QFont face(QString::fromStdString(name));
    if (size > 0) face.setPointSize(size);
    face.setBold((style & 2) != 0);
    face.setItalic((style & 1) != 0);
    control->setFont(face);
  }
}

void RestoreWindowPlacement(platform::Form& form,
                            const std::function<int32_t(const char*)>& number) {
  // The normal geometry first, while the window is still normal, so that one
  // opening maximized or minimized comes back to it; a size that is not
  // positive (a value removed by hand) is not applied.
  if (form.WindowState() == 0) {
    if (const int32_t height = number("height"); height > 0) form.SetHeight(height);
    if (const int32_t width = number("width"); width > 0) form.SetWidth(width);
    form.SetTop(number("top"));
    form.SetLeft(number("left"));
  }
  form.SetWindowState(number("windowstate"));
  form.Outer()->show();
}

void ViewWindowKey::Restore(platform::Form& form) const {
  RestoreWindowPlacement(form, [this](const char* value) { return Number(value); });
}

void ViewWindowKey::SaveFont(const QFont& font) const {
  RegSetSetting(HKEY_CURRENT_USER, path_, "fontname", RegValue(font.family().toStdString()), 1);
  Store("fontsize", static_cast<int32_t>(std::lround(font.pointSizeF())));
  Store("fontpara", (font.italic() ? 1 : 0) + (font.bold() ? 2 : 0));
}

void ViewWindowKey::Save(const platform::Form& form) const {
  if (form.WindowState() == 0) {
    const platform::TwipsRect place = form.Placement();
    Store("height", place.height);
    Store("width", place.width);
    Store("top", place.top);
    Store("left", place.left);
  }
  Store("windowstate", form.WindowState());
}

}  // namespace monitor
