#pragma once
// The form that hosts the programmer control inside the monitor. It sets the
// control's buffer sizes and bytes per word, gives it the last target and file
// from the registry, and writes them back when it closes. Application-modal,
// shown without blocking.
//
// The control itself is made by a factory that the programmer control fills
// in; while there is none the form is not built and Emulation > MTP stays
// disabled.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/forms.h"

namespace monitor {

class MonitorState;

// The members of the programmer control that the host sets and reads.
class PeltoControl {
 public:
  virtual ~PeltoControl() = default;
  // The control's own panel, placed in the host form.
  virtual QWidget* Widget() = 0;
  virtual void SetPadBytes(int16_t bytes) = 0;
  virtual void SetInBuffSize(int16_t size) = 0;
  virtual void SetOutBuffSize(int16_t size) = 0;
  virtual std::string ActiveMicro() const = 0;
  virtual void SetActiveMicro(const std::string& target) = 0;
  virtual std::string ActiveFile() const = 0;
  virtual void SetActiveFile(const std::string& path) = 0;
};

// Makes a control whose panel is a child of `parent`.
using PeltoControlFactory = std::function<std::unique_ptr<PeltoControl>(QWidget* parent)>;

// The values the host gives the control.
inline constexpr int16_t kPeltoPadBytes = 2;
inline constexpr int16_t kPeltoBufferSize = 8096;

class Pelto : public platform::Form {
 public:
  explicit Pelto(const PeltoControlFactory& factory);

  PeltoControl& PeltoCntl1() { return *control_; }

  void OnLoad() override;
  void OnUnload() override;

 private:
  std::unique_ptr<PeltoControl> control_;
};

// Registers the host form "Pelto" with the control's factory; an empty
// factory leaves it not built.
void BindPeltoHost(MonitorState& state, PeltoControlFactory factory);

}  // namespace monitor
