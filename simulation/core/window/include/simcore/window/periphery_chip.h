#pragma once
// The window side of a chip module: InitInterface, the dialog procedure
// CurposDlg with its message protocol, and the module's unload, as a layer
// between the simulation framework and the chip (CRTP, like ChipCore).
//
// The chip derives from PeripheryChip<Chip> and provides:
//   static constexpr const char* kCaption;                    "<chip> Periphery"
//   static const platform::DialogTemplate& WindowTemplate();  dialog "Curpos"
//   void Window_Redraw(int item, intptr_t parts);  one box, from the model's state
//   void Window_RedrawAll();                        every box (shown or restored)
// and may hide:
//   void Window_Init(platform::WindowHandle dialog);  initial control states
//   bool Window_Command(int id);                       a button (true: handled)
//   bool Window_Scroll(int barId, uint16_t code, int thumb);
// A box draws what the model holds now, never through the register-file
// pointer: the run loop clears it when a run ends, and boxes are drawn after.
#include <platform/dialog.h>
#include <platform/redraw_recorder.h>
#include <platform/window.h>

#include <cstdint>

#include "periphery/port.h"
#include "simcore/chip_core.h"
#include "simcore/window/periphery_window.h"
#include "simcore/window/pin_group.h"

namespace simcore {

template <class Chip>
class PeripheryChip : public ChipCore<Chip> {
  using Core = ChipCore<Chip>;

 public:
  // The framework's exports; each entry takes the test program's redraw
  // recorder, if it has one (platform/redraw_recorder.h).
  int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers, TraceEntry* trace) {
    recorder_ = platform::FindRedrawRecorder();
    return Core::Instruction_Reset(cpu, program, registers, trace);
  }
  int32_t Instruction_Execute(CpuState* cpu, ProgramCell* program, RegisterCell* registers, TraceEntry* trace,
                              int32_t mode) {
    recorder_ = platform::FindRedrawRecorder();
    return Core::Instruction_Execute(cpu, program, registers, trace, mode);
  }
  int32_t Monitor_Write(CpuState* cpu, ProgramCell* program, RegisterCell* registers, TraceEntry* trace,
                        int32_t reg, int32_t value) {
    recorder_ = platform::FindRedrawRecorder();
    return Core::Monitor_Write(cpu, program, registers, trace, reg, value);
  }

  int32_t InitInterface(void* host) {
    return window_.open(host, Chip::WindowTemplate(), Chip::kCaption,
                        [this](platform::WindowHandle w, uint32_t m, uintptr_t wp, intptr_t lp) {
                          return self().CurposDlg(w, m, wp, lp);
                        });
  }

  // 1 for a handled message, 0 otherwise. Messages for a window that is not
  // this module's dialog are not handled.
  intptr_t CurposDlg(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (!window_.owns(window)) {
      // A button pressed without a dialog (a host or test driving the module
      // before InitInterface) still acts on the model.
      if (window == nullptr && message == platform::WM_COMMAND)
        return self().Window_Command(platform::LOWORD(wParam)) ? 1 : 0;
      return 0;
    }
    switch (message) {
      case platform::WM_INITDIALOG:
        this->registers_ = nullptr;
        self().Window_Init(window);
        return 1;
      case platform::WM_PAINT:
        if (!window_.hidden()) self().Window_RedrawAll();
        return 1;
      case platform::WM_COMMAND:
        return self().Window_Command(platform::LOWORD(wParam)) ? 1 : 0;
      case platform::WM_HSCROLL:
      case platform::WM_VSCROLL: {
        const int bar = platform::GetDlgCtrlID(reinterpret_cast<platform::WindowHandle>(lParam));
        return self().Window_Scroll(bar, platform::LOWORD(wParam), platform::HIWORD(wParam)) ? 1 : 0;
      }
      case platform::WM_USER:
        // A hidden or minimized window draws nothing: WM_PAINT redraws every
        // box when it is shown again.
        if (!window_.hidden()) self().Window_Redraw(static_cast<int>(wParam), lParam);
        return 1;
      default:
        return 0;
    }
  }

  void ModuleAttach() {}
  void ModuleDetach() { window_.close(); }

  // Defaults a chip hides.
  void Window_Init(platform::WindowHandle /*dialog*/) {}
  bool Window_Command(int /*id*/) { return false; }
  bool Window_Scroll(int /*barId*/, uint16_t /*code*/, int /*thumb*/) { return false; }

  int32_t busy() const { return window_.busy; }

 protected:
  // The model's redraw request for box `item` (see PeripheryWindow::post).
  void postRedraw(int item, intptr_t parts) {
    if (recorder_ != nullptr) [[unlikely]]
      recorder_(item, parts);
    window_.post(item, parts);
  }
  platform::WindowHandle dialog() const { return window_.dialog(); }

  // A click on pin button `id` of `group`: an input pin toggles ("L"/"H",
  // its edge noted), the port's box is posted, and while the register file is
  // known the port is sampled at once by `sample`. A driven pin ignores it.
  // Returns false when `id` is not a button of the group.
  template <class Sampler>
  bool clickPin(const PinGroup& group, periphery::Port& port, int id, Sampler&& sample) {
    const int p = group.pinOf(id);
    if (p < 0) return false;
    if (!port.toggle(p)) return true;
    if (dialog() != nullptr && port.takeRefresh(p))
      platform::SetDlgItemText(dialog(), id, PinText(port.word(p)));
    postRedraw(group.item, group.firstButton);
    if (this->registers_ != nullptr) {
      window_.busy = 1;
      sample();
      window_.busy = 0;
    }
    return true;
  }

  PeripheryWindow window_;

 private:
  platform::RedrawRecorder recorder_ = nullptr;
  Chip& self() { return static_cast<Chip&>(*this); }
};

}  // namespace simcore
