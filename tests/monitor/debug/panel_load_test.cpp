// Opening and closing the control panel: the chip module bound through
// STDK42XX, its periphery window in the host, the window settings, and the
// refusals.
#include <dlfcn.h>

#include <QAction>
#include <QLabel>
#include <set>

#include "core/settings/mdl_registry.h"
#include "panel_fixture.h"
#include "platform/grid_control.h"
#include "platform/library.h"
#include "platform/twips.h"

namespace {

using namespace monitor;
using paneltest::CodeWindowNumber;

// True while the chip module's file is mapped.
bool ModuleMapped(const char* file) {
  const std::string path = platform::ResolveLibraryPath(file, TAVIX_DIST_DIR);
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

class PanelLoadTest : public paneltest::PanelTest {};

TEST_F(PanelLoadTest, VirtualBindsEachChipAndClosingUnloadsIt) {
  StartMonitor();
  const struct {
    const char *controller, *module;
  } chips[] = {{"QV4128", "42280000.so"},
               {"QV4234", "42340000.so"},
               {"QV4124", "42240000.so"},
               {"QV4115", "42150000.so"}};
  for (const auto& chip : chips) {
    SCOPED_TRACE(chip.controller);
    state.CpuState.word[k42::kAcc] = 7;
    state.CpuState.word[k42::kProgBreakHit] = 1;
    IceView* panel = Virtual(chip.controller);
    ASSERT_NE(panel, nullptr);
    Display* host = Host();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(panel->Caption(), "VICE - VIRTUAL Emulator Control Panel");
    EXPECT_EQ(host->Caption(), QString(chip.controller) + " Periphery");
    EXPECT_EQ(host->FrameDisp->windowTitle(), host->Caption());
    EXPECT_EQ(host->ScaleWidth(), platform::PixelsToTwips(host->FrameDisp->width()));
    EXPECT_EQ(host->ScaleHeight(), platform::PixelsToTwips(host->FrameDisp->height()));
    EXPECT_GT(host->FrameDisp->width(), 50);
    EXPECT_TRUE(host->isVisible());
    for (int word : {k42::kAcc, k42::kStackLevel, k42::kPcStack, k42::kProgBreakHit}) {
      EXPECT_EQ(state.CpuState.word[word], 0) << word;
    }
    EXPECT_EQ(state.CpuState.word[k42::kTraceLast], 0x1FFF);
    EXPECT_TRUE(state.MainForm()->Menu("mnusearch")->isEnabled());
    EXPECT_EQ(state.PanelLoaded, -1);
    EXPECT_TRUE(ModuleMapped(chip.module));
    EXPECT_FALSE(panel->connectimg->isVisible() || panel->Downloadimg->isVisible());
    // The grid: nine headed columns, the header and the empty last row.
    EXPECT_EQ(panel->grdProgram->Rows(), 2);
    EXPECT_EQ(panel->grdProgram->TextMatrix(0, 7), "Operand");

    EXPECT_FALSE(state.Forms.Unload("Display"));  // held by the panel
    EXPECT_TRUE(state.Forms.Unload("IceView"));
    EXPECT_FALSE(state.Forms.IsLoaded("Display"));
    EXPECT_FALSE(ModuleMapped(chip.module));
    EXPECT_EQ(state.PanelLoaded, 0);
    EXPECT_FALSE(state.MainForm()->Menu("mnusearch")->isEnabled());
  }
  // The LCD module without its display library tells so once; nothing else.
  for (const std::string& box : boxes) EXPECT_NE(box.find("E0001"), std::string::npos) << box;
  EXPECT_LE(boxes.size(), 1u);
  // A second Virtual binds again.
  ASSERT_NE(Virtual("QV4128"), nullptr);
  EXPECT_TRUE(ModuleMapped("42280000.so"));
}

TEST_F(PanelLoadTest, FirstStartWritesEveryDefaultAndClosingKeepsThePlacement) {
  StartMonitor();
  IceView* panel = Virtual("QV4128");
  ASSERT_NE(panel, nullptr);
  const auto value = [](const char* name) {
    return RegGetSetting(platform::HKEY_CURRENT_USER, kCodeWindowKey, name);
  };
  EXPECT_EQ(value(""), RegValue("Default"));
  EXPECT_EQ(value("fontname"), RegValue("Courier New"));
  EXPECT_TRUE(value("fontpara").IsEmpty());
  const std::pair<const char*, int32_t> numbers[] = {
      {"windowstate", 2}, {"height", 6600},  {"width", 12000},  {"top", 0},       {"left", 0},
      {"fontsize", 8},    {"breakcol", 225}, {"tracecol", 225}, {"linecol", 735}, {"addrcol", 530},
      {"codecol", 530},   {"labcol", 2015},  {"instcol", 600},  {"argcol", 3100}, {"remcol", 3940}};
  for (const auto& [name, number] : numbers) EXPECT_EQ(value(name), RegValue(number)) << name;
  EXPECT_EQ(panel->WindowState(), 2);
  EXPECT_EQ(panel->grdProgram->ColWidth(2), 735);

  // Closed maximized: the placement written before stays, windowstate 2.
  RegSetSetting(platform::HKEY_CURRENT_USER, kCodeWindowKey, "height", RegValue(4321), 4);
  ASSERT_TRUE(state.Forms.Unload("IceView"));
  EXPECT_EQ(CodeWindowNumber("height"), 4321);
  EXPECT_EQ(CodeWindowNumber("windowstate"), 2);

  // A marker that begins with "Default" counts; a normal window gets its
  // placement from the key and writes it back.
  RegSetSetting(platform::HKEY_CURRENT_USER, kCodeWindowKey, "", RegValue("Defaultxyz"), 1);
  RegSetSetting(platform::HKEY_CURRENT_USER, kCodeWindowKey, "windowstate", RegValue(0), 4);
  RegSetSetting(platform::HKEY_CURRENT_USER, kCodeWindowKey, "width", RegValue(9000), 4);
  RegSetSetting(platform::HKEY_CURRENT_USER, kCodeWindowKey, "height", RegValue(5100), 4);
  RegSetSetting(platform::HKEY_CURRENT_USER, kCodeWindowKey, "fontpara", RegValue(3), 4);
  panel = Virtual("QV4128");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(value(""), RegValue("Defaultxyz"));
  EXPECT_EQ(panel->WindowState(), 0);
  EXPECT_EQ(panel->Width(), 9000);
  EXPECT_TRUE(panel->grdProgram->font().bold() && panel->grdProgram->font().italic());
  EXPECT_EQ(panel->grdProgram->font().family(), "Courier New");

  // The column rule: a tiny window and back keeps the proportions, and no
  // width of 0 reaches the registry.
  panel->SetWidth(8000);
  panel->SetWidth(9000);
  const int inner = panel->ScaleWidth();
  std::vector<int> before;
  for (int col = 0; col < kCodeColumns; ++col) before.push_back(panel->grdProgram->ColWidth(col));
  panel->Outer()->resize(10, 10);
  panel->OnResize();
  panel->SetWidth(9000);
  ASSERT_EQ(panel->ScaleWidth(), inner);
  int sum = 0;
  for (int col = 0; col < kCodeColumns; ++col) {
    EXPECT_NEAR(panel->grdProgram->ColWidth(col), before[static_cast<size_t>(col)], 1) << col;
    sum += panel->grdProgram->ColWidth(col);
  }
  // The columns share the width the grid shows them in, so none is hidden.
  EXPECT_NEAR(sum, panel->grdProgram->ColumnSpace(inner), kCodeColumns);
  // "Break" over the mark columns, as wide as its text at least.
  EXPECT_NEAR(platform::WidgetTwips(*panel->lblBreak).width,
              std::max(panel->grdProgram->ColWidth(0) + panel->grdProgram->ColWidth(1) + 30,
                       platform::PixelsToTwips(panel->lblBreak->sizeHint().width())),
              platform::TwipsPerPixel());
  panel->Outer()->resize(10, 10);
  ASSERT_TRUE(state.Forms.Unload("IceView"));
  EXPECT_EQ(CodeWindowNumber("windowstate"), 0);
  for (const char* name : kCodeColumnValues) EXPECT_GT(CodeWindowNumber(name), 0) << name;
}

TEST_F(PanelLoadTest, RestoredAndCascadedWindowsStayInsideTheAreaAndUsable) {
  StartMonitor();
  for (const QSize area : {QSize(1280, 1024), QSize(1024, 768)}) {
    SizeArea(area);
    const QRect inside(QPoint(), area);
    IceView* panel = Virtual("QV4128");
    ASSERT_TRUE(panel != nullptr && panel->WindowState() == 2) << area.width();
    panel->SetWindowState(0);  // restored: the default placement, the periphery off it
    EXPECT_EQ(panel->Placement(), (platform::TwipsRect{0, 0, 12000, 6600}));
    const QRect host = Host()->Outer()->geometry();
    EXPECT_TRUE(inside.contains(host) && !host.intersects(panel->Outer()->geometry()));
    for (const QLabel* label : Host()->FrameDisp->findChildren<QLabel*>())
      EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    state.MainForm()->Arrange(platform::MdiFrame::kCascade);
    std::set<int> lefts;
    for (const char* name : {"IceView", "Display", "Watchwin", "RAMWin"}) {
      const QRect place = state.Forms.Get(name)->Outer()->geometry();
      EXPECT_TRUE(place.size() == area * 2 / 3 && inside.contains(place)) << name;
      EXPECT_EQ(place.x(), place.y()) << name;
      lefts.insert(place.x());
    }
    EXPECT_EQ(lefts.size(), 4u);
    panel->SetWindowState(2);  // closed maximized: the default placement stays
    ASSERT_TRUE(state.Forms.Unload("IceView"));
  }
}

TEST_F(PanelLoadTest, ControllerOptionsGoBackToTheProject) {
  StartMonitor();
  ASSERT_NE(Virtual("QV4234", ""), nullptr);
  ASSERT_TRUE(state.Forms.Unload("IceView"));
  EXPECT_EQ(state.PanelSettings, "0,0,0,0");
  EXPECT_EQ(state.ProjectModified, -1);

  state.ProjectModified = 0;
  ASSERT_NE(Virtual("QV4128", "kept"), nullptr);  // no options export
  ASSERT_TRUE(state.Forms.Unload("IceView"));
  EXPECT_EQ(state.PanelSettings, "kept");
  EXPECT_EQ(state.ProjectModified, 0);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PanelLoadTest, AControllerMissingFromTheListIsRefused) {
  StartMonitor();
  for (const char* controller : {"QV9999", ""}) {
    SCOPED_TRACE(controller);
    boxes.clear();
    EXPECT_EQ(Virtual(controller), nullptr);
    EXPECT_EQ(state.SimulationRefused, -1);
    EXPECT_EQ(state.TargetState, 32);
    EXPECT_EQ(state.PanelLoaded, 0);
    EXPECT_FALSE(state.Forms.IsLoaded("Display"));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0],
              "Tavix|impossible to simulate before type of controller defined in the "
              "project|0");
    EXPECT_EQ(boxes[1], "STDK42XX.DLL|Error V0010\nType of controller not selected|16");
  }
  EXPECT_TRUE(RegGetSetting(platform::HKEY_CURRENT_USER, kCodeWindowKey, "").IsEmpty());
}

TEST_F(PanelLoadTest, WithoutTheInterfaceModuleTheErrorIsToldOnce) {
  StartMonitor();
  state.ProgramPath = program.path();  // no STDK42XX there
  EXPECT_EQ(Virtual("QV4128"), nullptr);
  EXPECT_EQ(boxes, std::vector<std::string>{"Tavix|Monitor ERROR 53 0|48"});
  EXPECT_FALSE(state.Forms.IsLoaded("Display"));
  EXPECT_EQ(state.PanelLoaded, 0);
}

}  // namespace
