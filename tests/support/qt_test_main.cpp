// Shared main of the Qt test binaries: one QApplication on the offscreen
// platform for the whole binary, Qt's own settings (the file dialog's
// history) in a folder of this process rather than the user's, and a guard
// that no test waits on a modal loop: a dialog run with exec() or a form run
// modally that no hook answered fails the test and is closed at once.
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// platform::kModalLoopProperty: set on a form while RunModalForm's loop runs.
constexpr const char* kModalLoopProperty = "tavixModalLoop";

class ModalGuard : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show) return false;
    auto* window = qobject_cast<QWidget*>(watched);
    if (window == nullptr || !window->isWindow()) return false;
    auto* dialog = qobject_cast<QDialog*>(window);
    const bool dialogLoop = dialog != nullptr && window->testAttribute(Qt::WA_ShowModal);
    if (!dialogLoop && !window->property(kModalLoopProperty).toBool()) return false;
    ADD_FAILURE() << "a modal " << window->metaObject()->className() << " \""
                  << window->windowTitle().toStdString() << "\" ran without a hook";
    // Queued, so that it reaches the loop that is about to start.
    QPointer<QWidget> target(window);
    QTimer::singleShot(0, window, [target] {
      if (auto* shown = qobject_cast<QDialog*>(target.data())) {
        shown->reject();
      } else if (target) {
        target->hide();
      }
    });
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QTemporaryDir qtSettings;
  for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, qtSettings.path());
  }
  ModalGuard guard;
  app.installEventFilter(&guard);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
