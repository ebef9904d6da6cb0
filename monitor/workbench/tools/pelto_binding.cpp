#include "workbench/tools/pelto_binding.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

#include "platform/library.h"

namespace monitor {
namespace {

// The control as the host sees it: its widget, whose properties carry the
// members' names. The widget belongs to the host form that shows it.
class BoundPelto : public PeltoControl {
 public:
  explicit BoundPelto(QWidget* control) : control_(control) {}
  QWidget* Widget() override { return control_; }
  void SetPadBytes(int16_t bytes) override { Set("PadBytes", QVariant::fromValue<short>(bytes)); }
  void SetInBuffSize(int16_t size) override { Set("InBuffSize", QVariant::fromValue<short>(size)); }
  void SetOutBuffSize(int16_t size) override {
    Set("OutBuffSize", QVariant::fromValue<short>(size));
  }
  std::string ActiveMicro() const override { return Text("ActiveMicro"); }
  void SetActiveMicro(const std::string& target) override {
    Set("ActiveMicro", QString::fromStdString(target));
  }
  std::string ActiveFile() const override { return Text("ActiveFile"); }
  void SetActiveFile(const std::string& path) override {
    Set("ActiveFile", QString::fromStdString(path));
  }

 private:
  void Set(const char* name, const QVariant& value) {
    if (control_) control_->setProperty(name, value);
  }
  std::string Text(const char* name) const {
    return control_ ? control_->property(name).toString().toStdString() : std::string();
  }
  QPointer<QWidget> control_;
};

}  // namespace

PeltoControlFactory PeltoLibraryFactory(const std::string& programPath) {
  using Factory = QWidget* (*)(QWidget*);
  platform::LibraryHandle library = platform::LoadLibrary("Pelto", programPath);
  if (library == nullptr) return {};
  auto make = reinterpret_cast<Factory>(platform::GetProcAddress(library, "PeltoControl_Pelto"));
  if (make == nullptr) {
    platform::FreeLibrary(library);
    return {};
  }
  return [make](QWidget* parent) -> std::unique_ptr<PeltoControl> {
    return std::make_unique<BoundPelto>(make(parent));
  };
}

}  // namespace monitor
