#include "core/font_command.h"

#include <QWidget>
#include <vector>

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "platform/run_time_error.h"

namespace monitor {
namespace {

struct View {
  const char* key;
  const char* main;    // the control stored, and the first to take the font
  const char* preset;  // the control whose font presets the dialog
  std::vector<const char*> others;
};

const View* ViewOf(const QString& caption) {
  static const View panel{"SOFTWARE\\Corvane\\Tavix\\code window", "grdProgram", "grdProgram", {}};
  static const View watch{"SOFTWARE\\Corvane\\Tavix\\watch window",
                          "grdData",
                          "txtInput",
                          {"grdSymbols", "txtInput", "Text1", "Text2"}};
  static const View ram{"SOFTWARE\\Corvane\\Tavix\\ram window", "grdRAM", "grdRAM", {"RAMEditBox"}};
  if (caption == "VICE - VIRTUAL Emulator Control Panel" ||
      caption == "ICE - Emulator Control Panel") {
    return &panel;
  }
  if (caption == "Watch") return &watch;
  if (caption == "RAM") return &ram;
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

QString ActiveCaption(const MonitorState& state) {
  Monitorform* frame = state.MainForm();
  platform::Form* child = frame != nullptr ? frame->ActiveChild() : nullptr;
  return child != nullptr ? child->Caption() : QString();
}

QWidget* Control(const MonitorState& state, const char* name) {
  Monitorform* frame = state.MainForm();
  platform::Form* child = frame != nullptr ? frame->ActiveChild() : nullptr;
  return child != nullptr ? child->findChild<QWidget*>(name) : nullptr;
}

// Sets one property on the main control, then copies it to the others.
template <typename Set>
void ApplyProperty(const MonitorState& state, const View& view, Set set) {
  QWidget* main = Control(state, view.main);
  if (main == nullptr) return;
  QFont font = main->font();
  set(font);
  main->setFont(font);
  for (const char* name : view.others) {
    if (QWidget* other = Control(state, name)) {
      QFont copy = other->font();
      set(copy);
      other->setFont(copy);
    }
  }
}

}  // namespace

std::string FontKeyOf(const QString& caption) {
  const View* view = ViewOf(caption);
  return view != nullptr ? view->key : "";
}

void FontCommand(MonitorState& state) {
  Monitorform* frame = state.MainForm();
  if (frame == nullptr) return;
  platform::CommonDialog& dialog = frame->CMDialog1;
  dialog.CancelError = true;
  dialog.Flags = platform::CommonDialog::kScalableFontFlags;
  PassOver([&] {
    if (const View* view = ViewOf(ActiveCaption(state))) {
      if (QWidget* preset = Control(state, view->preset)) {
        const QFont font = preset->font();
        dialog.FontName = font.family();
        dialog.FontSize = font.pointSizeF();
        dialog.FontBold = font.bold();
        dialog.FontItalic = font.italic();
      }
    }
  });
  try {
    dialog.ShowFont();
  } catch (const platform::RunTimeError& error) {
    if (error.Number() == platform::CommonDialog::kCancelError) return;
  }
  if (dialog.FontName.isEmpty()) return;

  const View* view = ViewOf(ActiveCaption(state));
  if (view == nullptr) return;
  const QString name = dialog.FontName;
  const double size = dialog.FontSize;
  const bool italic = dialog.FontItalic, bold = dialog.FontBold;
  PassOver([&] { ApplyProperty(state, *view, [&](QFont& f) { f.setFamily(name); }); });
  PassOver([&] {
    ApplyProperty(state, *view, [&](QFont& f) {
      if (size > 0) f.setPointSizeF(size);
    });
  });
  PassOver([&] { ApplyProperty(state, *view, [&](QFont& f) { f.setItalic(italic); }); });
  PassOver([&] { ApplyProperty(state, *view, [&](QFont& f) { f.setBold(bold); }); });

  QWidget* main = Control(state, view->main);
  if (main == nullptr) return;
  const QFont stored = main->font();
  PassOver([&] { state.Seams.SetString(view->key, "fontname", stored.family().toStdString()); });
  PassOver([&] { state.Seams.SetDword(view->key, "fontsize", stored.pointSizeF()); });
  PassOver([&] {
    state.Seams.SetDword(view->key, "fontpara",
                         (stored.italic() ? 1 : 0) + (stored.bold() ? 2 : 0));
  });
}

}  // namespace monitor
