// The assembler's debug window: the symbol, public and macro dictionaries of
// the run in three sorted lists, and the timing caption.
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "debug_window_api.h"

namespace {

QListWidget* AddList(QGridLayout* grid, int column, const char* name, const char* labelName,
                     const QString& caption, const char* const* items, int32_t count,
                     QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(labelName);
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->setSortingEnabled(true);
  for (int32_t i = 0; i < count; ++i) list->addItem(QString::fromLatin1(items[i]));
  grid->addWidget(label, 0, column);
  grid->addWidget(list, 1, column);
  return list;
}

// Whether the toolkit will find a display: a platform named in
// QT_QPA_PLATFORM that draws without one (offscreen, minimal, ...), or the
// display that the windowing system names. Without one the toolkit would
// abort the whole program.
bool DisplayAvailable() {
  auto set = [](const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
  };
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  const std::string platform = chosen ? chosen : "";
  if (platform.rfind("xcb", 0) == 0) return set("DISPLAY");
  if (platform.rfind("wayland", 0) == 0) return set("WAYLAND_DISPLAY");
  if (!platform.empty()) return true;
  return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t K42xxasmWindowOpen() {
  if (QApplication::instance()) return 1;
  if (!DisplayAvailable()) return 0;
  static int argc = 1;
  static char name[] = "K42xxasm";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
  return 1;
}

__attribute__((visibility("default"))) int32_t K42xxasmWindowMessageBox(const char* text,
                                                                        const char* title,
                                                                        uint32_t style) {
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  if ((style & 0x0F) == 0x01) buttons = QMessageBox::Ok | QMessageBox::Cancel;
  int answer = QMessageBox::information(nullptr, QString::fromLatin1(title),
                                        QString::fromLatin1(text), buttons);
  return answer == QMessageBox::Cancel ? 2 : 1;
}

__attribute__((visibility("default"))) void* K42xxasmWindowCreate(const AsmWindowContent* content) {
  auto* window = new QWidget;
  window->setObjectName("frmMain");
  window->setWindowTitle("K42xxasm");
  auto* grid = new QGridLayout(window);
  AddList(grid, 0, "lstSymbol", "lblSymbols", "Symbols", content->symbols, content->symbolCount,
          window);
  AddList(grid, 1, "lstPublic", "lblPublic", "Public", content->publics, content->publicCount,
          window);
  AddList(grid, 2, "lstMacro", "lblMacros", "Macros", content->macros, content->macroCount, window);
  auto* debug = new QLabel(QString::fromLatin1(content->caption ? content->caption : ""), window);
  debug->setObjectName("datDebug");
  grid->addWidget(debug, 2, 0, 1, 3);
  return window;
}

__attribute__((visibility("default"))) int32_t K42xxasmWindowRun(void* handle) {
  auto* window = static_cast<QWidget*>(handle);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  return QApplication::exec();
}
}
