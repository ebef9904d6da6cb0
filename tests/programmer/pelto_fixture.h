#pragma once
// The programmer control made by name from the program folder's Pelto.so,
// with a fresh registry and Windows folder, its members reached through Qt's
// meta-object calls as a host reaches them, and its message boxes recorded.
#include <QMetaObject>
#include <QVariant>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include "platform/library.h"
#include "platform/messagebox.h"
#include "registry_folder.h"

namespace peltotest {

class PeltoTest : public RegistryFolderTest {
 protected:
  void SetUp() override {
    RegistryFolderTest::SetUp();
    setenv("TAVIX_WINDOWS_DIR", dir.path().c_str(), 1);
    setenv("TAVIX_SYSTEM_DIR", dir.path().c_str(), 1);
    platform::SetMessageBoxHook([this](const std::string& text, const std::string&, unsigned) {
      boxes.push_back(text);
      return platform::IDOK;
    });
    library_ = platform::LoadLibrary("Pelto", TAVIX_DIST_DIR);
    ASSERT_NE(library_, nullptr) << platform::LastLibraryError();
  }
  void TearDown() override {
    control.reset();
    platform::SetMessageBoxHook(nullptr);
  }

  // A fresh control (the last one is destroyed first, writing its settings),
  // its waits at `percent` % of their durations.
  QWidget* Make(int percent = 100) {
    control.reset();
    control.reset(Export<QWidget* (*)(QWidget*)>("PeltoControl_Pelto")(nullptr));
    Export<void (*)(QWidget*, int)>("PeltoControl_TimePercent")(control.get(), percent);
    return control.get();
  }
  QVariant Get(const char* property) const { return control->property(property); }
  void Set(const char* property, const QVariant& value) { control->setProperty(property, value); }

  // A method of the control by name, with its result.
  template <typename R = short, typename... Args>
  R Call(const char* method, const Args&... args) {
    R result = -99;
    EXPECT_TRUE(QMetaObject::invokeMethod(control.get(), method, Qt::DirectConnection,
                                          QReturnArgument<R>(QMetaType::fromType<R>().name(),
                                                             result),
                                          QArgument<Args>(QMetaType::fromType<Args>().name(),
                                                          args)...))
        << method;
    return result;
  }
  template <typename W = QWidget>
  W* Child(const char* name) const {
    W* widget = control->findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  std::unique_ptr<QWidget> control;
  std::vector<std::string> boxes;

 private:
  template <typename F>
  F Export(const char* name) {
    return reinterpret_cast<F>(platform::GetProcAddress(library_, name));
  }
  platform::LibraryHandle library_ = nullptr;
};

}  // namespace peltotest
