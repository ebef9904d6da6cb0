#include "core/font_command.h"

#include <QWidget>
#include <sstream>

#include "core/debug_view.h"
#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/settings/mdl_registry.h"
#include "platform/run_time_error.h"

namespace monitor {
namespace {

// The registry key of the view a caption names, or null.
const char* KeyOf(const QString& caption) {
  if (caption == "VICE - VIRTUAL Emulator Control Panel" ||
      caption == "ICE - Emulator Control Panel") {
    return "SOFTWARE\\Corvane\\Tavix\\code window";
  }
  if (caption == "Watch") return "SOFTWARE\\Corvane\\Tavix\\watch window";
  if (caption == "RAM") return "SOFTWARE\\Corvane\\Tavix\\ram window";
  return nullptr;
}

// A step of the command whose run-time error is passed over.
template <typename Step>
void PassOver(Step step) {
  try {
    step();
  } catch (const platform::RunTimeError&) {
  }
}

// The active child's registry key and font controls; no key when its caption
// names no debug view, no controls when it declares none.
struct ActiveView {
  const char* key = nullptr;
  DebugView::FontControls controls;
};

ActiveView ActiveFontView(const MonitorState& state) {
  Monitorform* frame = state.MainForm();
  platform::Form* child = frame != nullptr ? frame->ActiveChild() : nullptr;
  if (child == nullptr) return {};
  ActiveView view{KeyOf(child->Caption()), {}};
  if (const auto* declared = dynamic_cast<const DebugView*>(child); declared && view.key) {
    view.controls = declared->FontTargets();
  }
  return view;
}

// Sets one property on the stored control, then copies it to the others.
template <typename Set>
void ApplyProperty(const DebugView::FontControls& controls, Set set) {
  if (controls.stored == nullptr) return;
  QFont font = controls.stored->font();
  set(font);
  controls.stored->setFont(font);
  for (QWidget* other : controls.others) {
    QFont copy = other->font();
    set(copy);
    other->setFont(copy);
  }
}

}  // namespace

std::string FontKeyOf(const QString& caption) {
  const char* key = KeyOf(caption);
  return key != nullptr ? key : "";
}

void FontCommand(MonitorState& state) {
  platform::CommonDialog* found = state.Forms.FrameDialog();
  if (found == nullptr) return;
  platform::CommonDialog& dialog = *found;
  dialog.CancelError = true;
  dialog.Flags = platform::CommonDialog::kScalableFontFlags;
  PassOver([&] {
    if (QWidget* preset = ActiveFontView(state).controls.preset) {
      const QFont font = preset->font();
      dialog.FontName = font.family();
      dialog.FontSize = font.pointSizeF();
      dialog.FontBold = font.bold();
      dialog.FontItalic = font.italic();
    }
  });
  try {
    dialog.ShowFont();
  } catch (const platform::RunTimeError& error) {
    if (error.Number() == platform::CommonDialog::kCancelError) return;
  }
  if (dialog.FontName.isEmpty()) return;

  const ActiveView view = ActiveFontView(state);
  if (view.key == nullptr) return;
  const QString name = dialog.FontName;
  const double size = dialog.FontSize;
  const bool italic = dialog.FontItalic, bold = dialog.FontBold;
  PassOver([&] { ApplyProperty(view.controls, [&](QFont& f) { f.setFamily(name); }); });
  PassOver([&] {
    ApplyProperty(view.controls, [&](QFont& f) {
      if (size > 0) f.setPointSizeF(size);
    });
  });
  PassOver([&] { ApplyProperty(view.controls, [&](QFont& f) { f.setItalic(italic); }); });
  PassOver([&] { ApplyProperty(view.controls, [&](QFont& f) { f.setBold(bold); }); });

  QWidget* stored = view.controls.stored;
  if (stored == nullptr) return;
  const QFont font = stored->font();
  using platform::HKEY_CURRENT_USER;
  PassOver([&] {
    RegSetSetting(HKEY_CURRENT_USER, view.key, "fontname", RegValue(font.family().toStdString()),
                  platform::REG_SZ);
  });
  // Written as text, the registry's conversion rounds a fractional size.
  PassOver([&] {
    std::ostringstream size;
    size.precision(15);
    size << font.pointSizeF();
    RegSetSetting(HKEY_CURRENT_USER, view.key, "fontsize", RegValue(size.str()),
                  platform::REG_DWORD);
  });
  PassOver([&] {
    RegSetSetting(HKEY_CURRENT_USER, view.key, "fontpara",
                  RegValue(int32_t{(font.italic() ? 1 : 0) + (font.bold() ? 2 : 0)}),
                  platform::REG_DWORD);
  });
}

}  // namespace monitor
