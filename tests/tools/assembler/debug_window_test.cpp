// The debug window library, loaded by name from the program folder as the
// assembler loads it, filled with the lists of a run.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QWidget>

#include "debug_window/debug_window_api.h"
#include "platform/library.h"

namespace {

TEST(DebugWindow, ShowsTheThreeSortedListsAndTheCaption) {
  platform::LibraryHandle lib = platform::LoadLibrary(ASM_WINDOW_LIBRARY, TAVIX_DIST_DIR);
  ASSERT_NE(lib, nullptr) << platform::LastLibraryError();
  auto open =
      reinterpret_cast<AsmWindowOpenFunction>(platform::GetProcAddress(lib, "K42xxasmWindowOpen"));
  auto create = reinterpret_cast<AsmWindowCreateFunction>(
      platform::GetProcAddress(lib, "K42xxasmWindowCreate"));
  ASSERT_TRUE(open && create);
  ASSERT_EQ(open(), 1);
  const char* symbols[] = {"START", "COUNT", "LOOP.1"};
  const char* publics[] = {"START"};
  AsmWindowContent content{" 0, 12, 3", symbols, 3, publics, 1, nullptr, 0};
  auto* window = static_cast<QWidget*>(create(&content));
  ASSERT_NE(window, nullptr);
  auto* list = window->findChild<QListWidget*>("lstSymbol");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(0)->text(), "COUNT");
  EXPECT_EQ(window->findChild<QListWidget*>("lstPublic")->count(), 1);
  EXPECT_EQ(window->findChild<QListWidget*>("lstMacro")->count(), 0);
  EXPECT_EQ(window->findChild<QLabel*>("datDebug")->text(), " 0, 12, 3");
  delete window;
}

}  // namespace
