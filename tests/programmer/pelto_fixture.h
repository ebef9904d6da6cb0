#pragma once
// The programmer control made by name from the program folder's Pelto.so,
// with a fresh registry and Windows folder, its members reached through Qt's
// meta-object calls as a host reaches them, and its message boxes recorded.
#include <QMetaObject>
#include <QVariant>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

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
    make_ = reinterpret_cast<Factory>(platform::GetProcAddress(library_, "PeltoControl_Pelto"));
    timePercent_ = reinterpret_cast<TimePercent>(
        platform::GetProcAddress(library_, "PeltoControl_TimePercent"));
    ASSERT_NE(make_, nullptr);
  }
  void TearDown() override {
    control.reset();
    platform::SetMessageBoxHook(nullptr);
    unsetenv("TAVIX_WINDOWS_DIR");
    unsetenv("TAVIX_SYSTEM_DIR");
  }

  // A fresh control (the last one is destroyed first, writing its settings),
  // its waits at `percent` % of their durations.
  QWidget* Make(int percent = 100) {
    control.reset();
    control.reset(make_(nullptr));
    timePercent_(control.get(), percent);
    return control.get();
  }

  QVariant Get(const char* property) const { return control->property(property); }
  void Set(const char* property, const QVariant& value) { control->setProperty(property, value); }

  // A method of the control by name, with its 16-bit result.
  template <typename... Args>
  short Call(const char* method, Args... args) {
    short result = -99;
    const bool found = QMetaObject::invokeMethod(control.get(), method, Qt::DirectConnection,
                                                 Q_RETURN_ARG(short, result), Arg(args)...);
    EXPECT_TRUE(found) << method;
    return result;
  }
  short Read(short address, short count, QByteArray& answer) {
    short result = -99;
    EXPECT_TRUE(QMetaObject::invokeMethod(control.get(), "read_PELTO_data", Qt::DirectConnection,
                                          Q_RETURN_ARG(short, result), Q_ARG(short, address),
                                          Q_ARG(short, count), Q_ARG(QByteArray&, answer)));
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
  using Factory = QWidget* (*)(QWidget*);
  using TimePercent = void (*)(QWidget*, int);
  static QGenericArgument Arg(const short& v) { return Q_ARG(short, v); }
  static QGenericArgument Arg(const int& v) { return Q_ARG(int, v); }
  static QGenericArgument Arg(const QString& v) { return Q_ARG(QString, v); }
  static QGenericArgument Arg(const QByteArray& v) { return Q_ARG(QByteArray, v); }

  platform::LibraryHandle library_ = nullptr;
  Factory make_ = nullptr;
  TimePercent timePercent_ = nullptr;
};

}  // namespace peltotest
