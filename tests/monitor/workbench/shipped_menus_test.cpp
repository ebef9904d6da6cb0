// The main window's menu tree as the shipped program shows it at start: every
// subsystem bound as the program binds them, so a command is disabled only
// where the program has nothing behind it or its window is not open.
#include <QAction>
#include <QMenu>

#include "platform/hooks.h"
#include "subsystems.h"
#include "workbench_fixture.h"

namespace {

using monitortest::WorkbenchTest;

// The tree read back from the widgets: one line per item, indented by
// level, "name|caption|shortcut" with "off" and "hidden" where they apply.
void Dump(QMenu* menu, int level, std::string& out) {
  for (QAction* action : menu->actions()) {
    out += std::string(level * 2, ' ') + action->objectName().toStdString() + "|" +
           (action->isSeparator() ? "-" : action->text().toStdString()) + "|" +
           action->shortcut().toString().toStdString() + (action->isEnabled() ? "" : "|off") +
           (action->isVisible() ? "" : "|hidden") + "\n";
    if (action->menu() != nullptr) Dump(action->menu(), level + 1, out);
  }
}

TEST_F(WorkbenchTest, TheShippedMenuTreeWithItsStatesAtStart) {
  monitor::BindSubsystems(state, bench);
  platform::SetModalFormHook([](QWidget& tips) { tips.close(); });  // the first start's tips
  monitor::Monitorform* frame = Begin();
  platform::SetModalFormHook(nullptr);
  std::string tree;
  for (QMenu* menu : frame->ShownMenus()) {
    QAction* action = menu->menuAction();
    tree += action->objectName().toStdString() + "|" + action->text().toStdString() +
            (action->isEnabled() ? "" : "|off") + "\n";
    Dump(menu, 1, tree);
  }
  EXPECT_EQ(tree, R"(mnuFile|&File
  mnuFNew|&New|Ctrl+N
  mnuFNewT|New &Template|Ctrl+T
  mnuFOpen|&Open|Ctrl+O
  mnuFClose|&Close||off
  mnuFSave|&Save|Ctrl+S|off
  mnuFSaveAs|Save &As||off
  SEPERATOR0|-|
  mnuFPrint|&Print||off
  SEPERATOR1|-|
  mnuFExit|E&xit|
  separator2|-|
  mnuRecentFile(1)|Not Used||off|hidden
  mnuRecentFile(2)|Not Used||off|hidden
  mnuRecentFile(3)|Not Used||off|hidden
  mnuRecentFile(4)|Not Used||off|hidden
nmuEDIT|&Edit
  emcut|Cu&t||off
  emcopy|&Copy||off
  empaste|&Paste||off
  sep|-|
  mnuFontName|&Font|
mnusearch|&Search|off
  mnuitFind|&Find|Ctrl+F
  mnuitFindNext|Find &Next|F3
  mnuitLabel|&Label|Ctrl+L
mnuProject|&Project
  mnuPNew|&New|
  mnuPOpen|&Open|
  mnuPEdit|&Edit|
  mnuPSave|&Save|
  mnuPSaveAs|Save &As|
  mnuPClose|&Close|
  projsep1|-|
  mnuRecentProj(1)|Not Used||off|hidden
  mnuRecentProj(2)|Not Used||off|hidden
  mnuRecentProj(3)|Not Used||off|hidden
  mnuRecentProj(4)|Not Used||off|hidden
mnubuild|&Build
  buildprojmnu|&Build Project|Shift+F8
  assemblermnu|&Assemble|Ctrl+F8
  sepbuild|-|
  disassemblermnu|&Disassemble|
  mnuDisassembleBinary|&ROM Characteristic File|
  mnuConvertCodToBin|&Convert COD File|
mnuEmulation|E&mulation
  mnuQVVICE|&Virtual|Ctrl+F5
  sepem|-|
  mnuQVUICE|&In circuit|Shift+F5
  settingmnu|ICE &Config|
  sepemtp|-|
  mnuMTP|&MTP||off
windowmnu|&Window
  mnuCascade|&Cascade|
  mnuTile|&Tile|
  mnuArrangeicons|&Arrange Icons|
mnuhelp|&Help
  mnuindex|&Contents and Index|F1
  mnuTips|&Tip of the Day|
  sephelp2|-|
  mnuWebSite|Corvane on the &Web|
  mnumanual|User's manual|
    mnutoolsdescription|4bits Tools description|
    mnubinder|Binder|
    mnuemulator|Emulator Hardware desc.|
    mnudemoboard|Demo board |
  mnudatasheets|&Datasheets|
    mnu4224|QV4224|
    mnu4132|QV4132|
    mnu4214|QV4214|
    mnu4219|QV4219|
    mnu4223|QV4223|
    mnu4229|QV4229|
    mnu4232|QV4232|
    mnu4234|QV4234|
    mnu4236|QV4236|
    mnudevdevices|Dev. Devices|
      mnu4111|QV4111|
      mnu4112|QV4112|
      mnu4113|QV4113|
      mnu4115|QV4115|
      mnu4116|QV4116|
      mnu4117|QV4117|
      mnu4118|QV4118|
      mnu4131|QV4131|
    mnuolddevices|Old Devices|
      mnu4211|QV4211|
      mnu4212|QV4212|
      mnu4213|QV4213|
      mnu4215|QV4215|
      mnu4216|QV4216|
      mnu4217|QV4217|
      mnu4218|QV4218|
      mnu4231|QV4231|
      mnu4817|QV4817|
  sephelp1|-|
  mnuabout|&About Tavix...|
  sephelp0|-|
  mnurelease|&Release notes|
)");
}

}  // namespace
