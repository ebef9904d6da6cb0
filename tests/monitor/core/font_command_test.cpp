// Edit > Font on stand-in views captioned and named as the debug views.
#include "core/font_command.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "core/debug_view.h"
#include "core/settings/mdl_registry.h"
#include "core/settings/registry_layout.h"
#include "monitor_fixture.h"
#include "platform/grid_control.h"

namespace {

using monitortest::MonitorTest;

// A debug view declaring its font controls: the first grid takes the font
// and is stored, the preset control (the first grid unless named) presets
// the dialog, every other control follows.
class StandInView : public platform::Form, public monitor::DebugView {
 public:
  using Form::Form;
  platform::GridControl* SearchGrid() const override { return nullptr; }
  FontControls FontTargets() const override { return fonts; }
  FontControls fonts;
};

class FontTest : public MonitorTest {
 protected:
  // A child with the given caption holding controls of the given names.
  platform::Form* View(const char* form, const char* caption,
                       std::initializer_list<const char*> grids,
                       std::initializer_list<const char*> boxes, const char* preset = nullptr) {
    state.Forms.Register(form, platform::FormKind::MdiChild, [=] {
      auto* view = new StandInView(form);
      view->SetCaption(caption);
      auto* body = new QWidget(view);
      view->setCentralWidget(body);
      std::vector<QWidget*> controls;
      for (const char* name : grids) controls.push_back(new platform::GridControl(name, body));
      for (const char* name : boxes) {
        controls.push_back(new QLineEdit(body));
        controls.back()->setObjectName(name);
      }
      view->fonts = {controls.front(), controls.front(), {controls.begin() + 1, controls.end()}};
      if (preset != nullptr) view->fonts.preset = view->findChild<QWidget*>(preset);
      return view;
    });
    return state.Forms.Show(form);
  }
  void Answer(const char* name, double size, bool bold, bool italic, bool ok = true) {
    platform::SetDialogHook([=, this](platform::CommonDialog& d, platform::CommonDialog::Action a) {
      dialogs.push_back(d.Name() + " " + std::to_string(static_cast<int>(a)) + " " +
                        std::to_string(d.Flags) + " " + d.FontName.toStdString());
      d.FontName = name;
      d.FontSize = size;
      d.FontBold = bold;
      d.FontItalic = italic;
      return ok;
    });
  }
  // A view's key as its window's load makes it, its font values then
  // replaced by marks that no font command writes.
  static void Mark(const char* key) {
    monitor::EnsureLayoutKey(key);
    const std::string path = monitor::FindLayoutKey(key)->path;
    using platform::HKEY_CURRENT_USER;
    monitor::RegSetSetting(HKEY_CURRENT_USER, path, "fontname", "-", platform::REG_SZ);
    monitor::RegSetSetting(HKEY_CURRENT_USER, path, "fontsize", -1, platform::REG_DWORD);
    monitor::RegSetSetting(HKEY_CURRENT_USER, path, "fontpara", -1, platform::REG_DWORD);
  }
  static std::vector<std::string> StoredFont(const char* key) {
    const std::string path = monitor::FindLayoutKey(key)->path;
    const auto value = [&](const char* name) {
      return monitor::RegGetSetting(platform::HKEY_CURRENT_USER, path, name);
    };
    return {"fontname=" + value("fontname").AsText(),
            "fontsize=" + std::to_string(value("fontsize").AsNumber()),
            "fontpara=" + std::to_string(value("fontpara").AsNumber())};
  }
  using Font = std::vector<std::string>;
  const Font unwritten{"fontname=-", "fontsize=-1", "fontpara=-1"};

  std::vector<std::string> dialogs;
};

TEST_F(FontTest, WatchViewTakesTheFontOnAllFiveControlsAndStoresIt) {
  Start();
  Mark("watch window");
  platform::Form* watch = View("Watchwin", "Watch", {"grdData", "grdSymbols"},
                               {"txtInput", "Text1", "Text2"}, "txtInput");
  watch->findChild<QWidget*>("txtInput")->setFont(QFont("Monospace", 9));
  Answer("Courier New", 10, true, false);
  Click("mnuFontName");
  // Preset from the input box; scalable fonts only.
  EXPECT_EQ(dialogs, (std::vector<std::string>{"CMDialog1 2 163843 Monospace"}));
  for (const char* name : {"grdData", "grdSymbols", "txtInput", "Text1", "Text2"}) {
    const QFont font = watch->findChild<QWidget*>(name)->font();
    EXPECT_EQ(font.family(), "Courier New") << name;
    EXPECT_EQ(font.pointSizeF(), 10) << name;
    EXPECT_TRUE(font.bold()) << name;
    EXPECT_FALSE(font.italic()) << name;
  }
  EXPECT_EQ(StoredFont("watch window"),
            (Font{"fontname=Courier New", "fontsize=10", "fontpara=2"}));

  // Italic and bold, and a fractional size stored as the registry rounds it.
  Mark("watch window");
  Answer("Courier New", 10.5, true, true);
  Click("mnuFontName");
  EXPECT_EQ(StoredFont("watch window"),
            (Font{"fontname=Courier New", "fontsize=10", "fontpara=3"}));
  // Cancel: nothing applied or stored.
  Mark("watch window");
  Answer("Serif", 20, false, false, false);
  Click("mnuFontName");
  EXPECT_EQ(StoredFont("watch window"), unwritten);
  EXPECT_EQ(watch->findChild<QWidget*>("grdData")->font().family(), "Courier New");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FontTest, EitherPanelCaptionGoesToTheCodeWindowAndOtherViewsChangeNothing) {
  Start();
  Answer("Courier New", 8, false, false);
  Click("mnuFontName");  // no child: the dialog, nothing else
  EXPECT_EQ(dialogs.size(), 1u);
  platform::Form* panel =
      View("IceView", "VICE - VIRTUAL Emulator Control Panel", {"grdProgram"}, {});
  Mark("code window");
  Click("mnuFontName");
  EXPECT_EQ(panel->findChild<QWidget*>("grdProgram")->font().family(), "Courier New");
  const Font courier8{"fontname=Courier New", "fontsize=8", "fontpara=0"};
  EXPECT_EQ(StoredFont("code window"), courier8);
  Mark("code window");
  panel->SetCaption("ICE - Emulator Control Panel");
  Click("mnuFontName");
  EXPECT_EQ(StoredFont("code window"), courier8);
  platform::Form* ram = View("RAMWin", "RAM", {"grdRAM"}, {"RAMEditBox"});
  Mark("ram window");
  Answer("Serif", 12, false, true);
  Click("mnuFontName");
  EXPECT_TRUE(ram->findChild<QWidget*>("RAMEditBox")->font().italic());
  EXPECT_EQ(StoredFont("ram window").front(), "fontname=Serif");

  for (const char* key : {"code window", "ram window", "watch window"}) Mark(key);
  platform::Form* build = View("BuildOut", "Build output", {"grdRAM"}, {});
  Answer("Monospace", 30, true, true);
  Click("mnuFontName");
  EXPECT_EQ(dialogs.size(), 5u);
  for (const char* key : {"code window", "ram window", "watch window"}) {
    EXPECT_EQ(StoredFont(key), unwritten) << key;
  }
  EXPECT_NE(build->findChild<QWidget*>("grdRAM")->font().family(), "Monospace");
  EXPECT_EQ(monitor::FontKeyOf("Watch"), "SOFTWARE\\Corvane\\Tavix\\watch window");
}

}  // namespace
