#pragma once
// The frame of the LCD chip family, between the periphery window layer and
// the chip (CRTP): the display library bound at InitInterface, the register
// pointer kept after a run, the reset extras of the module table, the
// interrupt condition of the family and the three run-loop variants, each a
// composition of the framework's round primitives.
//
// The chip derives from LcdChip<Chip> and provides, besides the framework's
// and the window layer's hooks:
//   static constexpr const LcdModule& kModule = LcdModuleOf("<digits>");
//   static constexpr const char* kCaption = kModule.caption.data();
//   bool Periphery_TakeWatchdogReset();   the watchdog asked for a reset
// and may hide:
//   void Periphery_RunEnded();            a run has ended (redraws of counters)
//   void Lcd_HaltEnable();                a halted pass sets 107 bit 3 (default:
//                                         the value bit, without side effects)
//   bool Periphery_FourTicks();           variant 1's four periphery steps
//                                         (default: Periphery_Tick four times);
//                                         false when they did nothing that can
//                                         reset the CPU or ask the watchdog's
//                                         reset
#include <platform/clock.h>
#include <platform/dialog_items.h>
#include <platform/event_wait.h>
#include <platform/module_path.h>
#include <platform/window.h>
#include <simcore/periphery_window.h>
#include <simcore/simcore.h>

#include <cstdint>
#include <string>

#include "periphery/cells.h"
#include "periphery/requests.h"
#include "simcore/lcd/lcd_library.h"
#include "simcore/lcd/lcd_modules.h"
#include "simcore/lcd/lcd_project_path.h"

namespace simcore::lcd {

// Registers the frame knows.
constexpr int kRequestA = 104, kRequestB = 105, kRequestC = 106;
constexpr int kInterruptControl = 107;  // bit 3 interrupt enable, bit 2 sleep
constexpr int kSleepControl = 108;      // bit 2 sleep
constexpr int kLcdMode = 114;
constexpr int kInterruptEnable = 8, kSleepBit = 4;
// The family's interrupt condition: enabled by register 107 bit 3, pending
// with any request of registers 104-106.
constexpr periphery::InterruptCondition kLcdInterrupts{
    {kInterruptControl, kInterruptEnable}, false, {{{kRequestA}, {kRequestB}, {kRequestC}, {0, 0}}}};

// Variant 1's controls: the delay edit box and the status field.
constexpr int kDelayEdit = 1144;
constexpr int kStatusText = 1143;
// The redraw item posted when a run ends.
constexpr int kRunEndItem = 8;

// The delay of a "Delay" text in microseconds: one to three decimal digits;
// any other text means no delay.
inline int32_t ParseDelay(const std::string& text) {
  if (text.empty() || text.size() > 3) return 0;
  int32_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    v = v * 10 + (c - '0');
  }
  return v;
}

template <class Chip>
class LcdChip : public PeripheryChip<Chip> {
  using Base = PeripheryChip<Chip>;

 public:
  static constexpr bool kKeepRegisterPointer = true;

  // The host caption names the project; then the window; then the library.
  int32_t InitInterface(void* host) {
    const std::string projectPath =
        LcdProjectPath(host != nullptr ? platform::GetWindowText(host) : std::string());
    Base::InitInterface(host);
    const std::string folders[3] = {platform::ModuleFolder(reinterpret_cast<const void*>(&anchor)),
                                    platform::ProgramPath(), "./"};
    lcd_.open(std::string(Chip::kModule.digits), host, projectPath,
              std::string(Chip::kModule.definition), folders);
    return 0;
  }

  void ModuleDetach() {
    Base::ModuleDetach();
    lcd_.unload();
  }

  int32_t Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                            TraceEntry* trace) {
    Base::Instruction_Reset(cpu, program, registers, trace);
    if constexpr (Chip::kModule.resetExtra == ResetExtra::ClearRegisters) {
      periphery::Cells c(registers);
      for (int n = 0; n <= 126; ++n) {
        if (n == kSleepControl)
          c.clearBits(n, 7);
        else if (n == kLcdMode)
          c.setMasked(n, 14, 14);
        else
          c.set(n, 0);
      }
    } else {
      displayOffAfterReset();
    }
    return 0;
  }

  bool InterruptRequested() const { return periphery::interruptPending<kLcdInterrupts>(periphery::Cells(this->registers_)); }

  int32_t RunLoop(int32_t mode) {
    if constexpr (Chip::kModule.variant == RunVariant::Delayed)
      runDelayed(mode);
    else
      runPlain(mode);
    return endLcdRun();
  }

  // Defaults the chip may hide.
  void Periphery_RunEnded() {}
  // Variant 1's periphery time of one pass. A chip may hide it with a form
  // that sees at once when none of the four steps has anything to do, and
  // says so (false): the pass then skips the reset and watchdog tests.
  [[gnu::always_inline]] bool Periphery_FourTicks() {
    for (int i = 0; i < 4; ++i) self().Periphery_Tick();
    return true;
  }
  void Lcd_HaltEnable() { periphery::Cells(this->registers_).setBits(kInterruptControl, kInterruptEnable); }

  const LcdLibrary& lcd() const { return lcd_; }
  int32_t delay() const { return delay_; }

 protected:
  // The sleep bit of 107 set.
  bool sleepRequested() const { return periphery::Cells(this->registers_).bit(kInterruptControl, kSleepBit); }
  // Both sleep bits (107 and 108 bit 2) set.
  bool sleeping() const {
    const periphery::Cells c(this->registers_);
    return c.bit(kInterruptControl, kSleepBit) && c.bit(kSleepControl, kSleepBit);
  }

  LcdLibrary lcd_;

 private:
  static void anchor() {}
  Chip& self() { return static_cast<Chip&>(*this); }

  // A pass in which only an event can change anything: wait for one. The
  // counter waits in CpuState, so what the events did to it stands. False
  // when the run ends (the stack level left outside 0..2).
  bool waitForEvents(int32_t& pc) {
    this->storePc(pc);
    self().ShowDeferredState();
    platform::WaitForEvents();
    while (platform::DispatchOneMessage()) {
    }
    return this->afterEvents(pc);
  }

  // The display-off extra ends every power-on reset, the watchdog's too, so
  // that the glass never keeps what the reset cleared.
  void displayOffAfterReset() {
    if constexpr (Chip::kModule.resetExtra == ResetExtra::DisplayOff) {
      lcd_.setStatus(0);
      lcd_.setMux(15);
    }
  }

  // The watchdog's power-on reset: the CPU restarts too.
  [[gnu::always_inline]] void watchdogCheck(int32_t& pc) {
    if (!self().Periphery_TakeWatchdogReset()) [[likely]]
      return;
    this->resetCpu();
    self().Periphery_Reset();
    displayOffAfterReset();
    this->reloadPcAfterReset(pc);
  }

  void showStatus(const char* text) {
    if (text[0] == shownStatus_) return;
    shownStatus_ = text[0];
    if (this->dialog() != nullptr) platform::SetDlgItemText(this->dialog(), kStatusText, text);
  }

  using Pass = typename Base::Pass;

  // Variant 1: delay and every message per pass, sleep, four periphery
  // steps, the watchdog reset, interrupt entry, halt or one instruction.
  void runDelayed(int32_t mode) {
    bool displayOffSent = false;
    this->runRounds(
        mode,
        [this]() TAVIX_INLINE_ROUND {
          delay_ = this->dialog() != nullptr ? ParseDelay(platform::GetDlgItemText(this->dialog(), kDelayEdit)) : 0;
          platform::BusyWaitMicros(32);
          this->cpuReset_ = false;  // the loop loads the counter after this
        },
        [this](int32_t& pc) TAVIX_INLINE_ROUND {
          if (delay_ != 0) [[unlikely]]
            platform::BusyWaitMicros(delay_);
          return this->pumpAll(pc);
        },
        [this, mode, &displayOffSent](int32_t& pc) TAVIX_INLINE_ROUND {
          if (sleeping()) [[unlikely]] {
            if (!displayOffSent) lcd_.setStatus(0);
            displayOffSent = true;
            showStatus("Sleep");
            if (this->stopFlags_ != 0) return Pass::Stop;
            if (sleeping() && !waitForEvents(pc)) return Pass::EndNow;
            return Pass::Next;
          }
          displayOffSent = false;
          if (self().Periphery_FourTicks()) [[unlikely]] {
            this->reloadPcAfterReset(pc);
            watchdogCheck(pc);
          }
          if (!this->enterInterrupt(mode, pc)) return Pass::Stop;
          if (this->halted()) {
            periphery::Cells(this->registers_).setBits(kInterruptControl, kInterruptEnable);
            showStatus("Halt");
          } else {
            showStatus("Active");
            this->stepInstruction(pc);
          }
          return Pass::Next;
        });
  }

  // Variants 2 and 3: one message per pass, one periphery step, the
  // watchdog reset, interrupt entry, halt or one instruction; variant 3
  // only dispatches messages while both sleep bits are set.
  void runPlain(int32_t mode) {
    this->runRounds(
        mode, []() TAVIX_INLINE_ROUND {}, [this](int32_t& pc) TAVIX_INLINE_ROUND { return this->pump(pc); },
        [this, mode](int32_t& pc) TAVIX_INLINE_ROUND {
          if constexpr (Chip::kModule.variant == RunVariant::Sleeping) {
            // The first sleep bit alone, mostly clear, decides the common
            // round: it runs straight through.
            if (sleepRequested()) [[unlikely]] {
              if (sleeping()) {
                if (this->stopFlags_ == 0 && !waitForEvents(pc)) return Pass::EndNow;
                return Pass::Next;
              }
            }
          }
          self().Periphery_Tick();
          this->reloadPcAfterReset(pc);
          watchdogCheck(pc);
          if (!this->enterInterrupt(mode, pc)) return Pass::Stop;
          if (this->halted())
            self().Lcd_HaltEnable();
          else
            this->stepInstruction(pc);
          return Pass::Next;
        });
  }

  // Posts the run's end to the window, marks a data-breakpoint stop in
  // word 18 (the register pointer stays set). The window's busy flag is
  // only ever set inside its own click handling, never here: nothing to
  // wait for.
  int32_t endLcdRun() {
    self().Periphery_RunEnded();
    if (this->dialog() != nullptr) platform::PostMessage(this->dialog(), platform::WM_USER, kRunEndItem, 1);
    return this->endRun();
  }

  int32_t delay_ = 0;
  char shownStatus_ = 0;
};

}  // namespace simcore::lcd
