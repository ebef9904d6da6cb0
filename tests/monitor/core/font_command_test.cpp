// Edit > Font on stand-in views captioned and named as the debug views.
#include "core/font_command.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "core/debug_view.h"
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
  std::vector<std::string> dialogs;
};

TEST_F(FontTest, WatchViewTakesTheFontOnAllFiveControlsAndStoresIt) {
  Start();
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
  const std::string key = "SOFTWARE\\Corvane\\Tavix\\watch window|";
  EXPECT_EQ(Writes(), (std::vector<std::string>{key + "fontname=Courier New", key + "fontsize=10",
                                                key + "fontpara=2"}));

  // Italic and bold, and a fractional size handed to the registry as it is.
  settings.log.clear();
  Answer("Courier New", 10.5, true, true);
  Click("mnuFontName");
  EXPECT_EQ(Writes(), (std::vector<std::string>{key + "fontname=Courier New", key + "fontsize=10.5",
                                                key + "fontpara=3"}));
  // Cancel: nothing applied or stored.
  settings.log.clear();
  Answer("Serif", 20, false, false, false);
  Click("mnuFontName");
  EXPECT_TRUE(Writes().empty());
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
  Click("mnuFontName");
  EXPECT_EQ(panel->findChild<QWidget*>("grdProgram")->font().family(), "Courier New");
  panel->SetCaption("ICE - Emulator Control Panel");
  Click("mnuFontName");
  const std::string key = "SOFTWARE\\Corvane\\Tavix\\code window|";
  EXPECT_EQ(Writes(), (std::vector<std::string>{key + "fontname=Courier New", key + "fontsize=8",
                                                key + "fontpara=0", key + "fontname=Courier New",
                                                key + "fontsize=8", key + "fontpara=0"}));
  settings.log.clear();
  platform::Form* ram = View("RAMWin", "RAM", {"grdRAM"}, {"RAMEditBox"});
  Answer("Serif", 12, false, true);
  Click("mnuFontName");
  EXPECT_TRUE(ram->findChild<QWidget*>("RAMEditBox")->font().italic());
  EXPECT_EQ(Writes().front(), "SOFTWARE\\Corvane\\Tavix\\ram window|fontname=Serif");

  settings.log.clear();
  platform::Form* build = View("BuildOut", "Build output", {"grdRAM"}, {});
  Answer("Monospace", 30, true, true);
  Click("mnuFontName");
  EXPECT_EQ(dialogs.size(), 5u);
  EXPECT_TRUE(Writes().empty());
  EXPECT_NE(build->findChild<QWidget*>("grdRAM")->font().family(), "Monospace");
  EXPECT_EQ(monitor::FontKeyOf("Watch"), "SOFTWARE\\Corvane\\Tavix\\watch window");
}

}  // namespace
