// QV4131's own periphery: the reset, the sleeping pass, port C, the SWB's
// registers and its external lines, the EEPROM, the timer's differences and
// the prescaler restart. Everything else is the QV4115 family model's.
#include <platform/event_wait.h>

#include "qv4131.h"

template class qv4115::Qv4115Model<qv4131::Qv4131, qv4131::kQv4131>;

namespace qv4131 {

using periphery::Cells;
using qv4115::kFirstPinButton;
using qv4115::kItemPortB;
using qv4115::kItemPortC;
using qv4115::kItemSwb;
using qv4115::kItemTimer;
namespace baseSwb = qv4115::swbItem;
namespace timerItem = qv4115::timerItem;

constexpr const auto& L = kQv4131;

// ---- Reset.

// The power-on reset, then register 122 := 8 (the text 1066 keeps the
// reset's "100000" until 122 or 123 is written).
int32_t Qv4131::Instruction_Reset(CpuState* cpu, ProgramCell* program, RegisterCell* registers,
                                  TraceEntry* trace) {
  Model::Instruction_Reset(cpu, program, registers, trace);
  Cells c = cells();
  if (c.valid()) c.set(kClockAdjustLow.reg, 8);
  latch_.store(kClockAdjustLow.reg, 8);
  return 0;
}

// The family's reset, and what QV4131 resets besides: the port latches and
// the whole SWB (size, count, modes, text). The text 1066 shows "100000"
// until 122 or 123 is written.
void Qv4131::Periphery_Reset() {
  Model::Periphery_Reset();
  latchB_ = 0;
  latchC_ = 0;
  swbClockCopy_ = 0;
  swbAutomatic_ = false;
  clkSup_ = 0;
  divider_ = 0;
  swb_.resetCountAndSize();
  swb_.takeOverflow();
  clockAdjust_ = kClockAdjustAfterReset;
  updateDue();
}

// Asleep: register 122 bit 0 is cleared and, with the wake-up on, its count
// runs down; the pass that reaches 0 resets the chip. Without the wake-up
// only an event can change anything, so the pass waits for one (unless the
// run already has to stop).
Qv4131::Pass Qv4131::sleepingPass(int32_t& pc) {
  Cells c = cells();
  c.clearBits(kCombinationOff.reg, kCombinationOff.mask);
  if (c.bit(kWakeUpEnable.reg, kWakeUpEnable.mask)) {
    if (wakeUpCount_ != 0 && --wakeUpCount_ == 0) {
      Periphery_Reset();
      reloadPcAfterReset(pc);
    }
    return Pass::Next;
  }
  if (stopped()) return Pass::Next;
  storePc(pc);
  platform::WaitForEvents();
  while (platform::DispatchOneMessage()) {
  }
  return afterEvents(pc) ? Pass::Next : Pass::EndNow;
}

// ---- Registers.

void Qv4131::onWrite(int n, int v, int old) {
  Cells c = cells();
  switch (n) {
    case L.swb.sizeLow.reg:
      swb_.setSizeLow(v);
      post(kItemSwb, swbItem::kSize);
      break;
    case kSwbSupplement.reg:
      clkSup_ = kClkSup.of(v);
      divider_ = kDivider.of(v);
      post(kItemSwb, swbItem::kClkSup | baseSwb::kClockText);
      break;
    case L.timer.control.reg:
      // A change of direction inverts the count; the value stays.
      if (L.timer.countUp.setIn(v ^ old)) {
        timer_.invertCount();
        shownCounter_ = -1;
        showCounter(c, timer_.count());
      }
      Model::onWrite(n, v, old);
      break;
    case L.watchdog.clear.reg:
      if (L.watchdog.clear.setIn(v)) watchdog_.clear();
      break;
    case L.detector.control.reg:
      detectorLevel_ = kDetectorLow.setIn(v) ? kDetectorLevelLow : kDetectorLevelHigh;
      break;
    case kWakeUp.reg:
      wakeUpCount_ = kWakeUpCount.of(v) * kWakeUpPasses;
      break;
    case kClockAdjustLow.reg:
    case kClockAdjustHigh.reg:
      clockAdjust_ =
          ((latch_.at(kClockAdjustHigh.reg) & 0xC) << 2) | latch_.at(kClockAdjustLow.reg);
      post(kItemClockAdjust, 1);
      break;
    default:
      Model::onWrite(n, v, old);
      break;
  }
}

// A load also clears bits 0-1 of the register and leaves the compare
// enable as it was.
void Qv4131::writeTimerRun(int value) {
  if (!L.timer.load.setIn(value)) {
    Model::writeTimerRun(value);
    return;
  }
  const bool compare = timer_.compareEnabled();
  Model::writeTimerRun(value);
  timer_.setCompareEnabled(compare);
  cells().clearBits(L.timer.run.reg, L.timer.load.mask | L.timer.compareEnable.mask);
}

// Bit 2 restarts the prescaler and is not kept; leaving PWM gives PB3, if it
// is an output, its latch level.
void Qv4131::writePrescaler(int value, int old) {
  if (value & kPrescalerRestart.mask) prescaler_.restart();
  const int kept = value & ~kPrescalerRestart.mask;
  cells().set(L.prescaler.control.reg, kept);
  latch_.store(L.prescaler.control.reg, kept);
  const int pwm = L.prescaler.pwm.mask;
  if ((old & pwm) && !(value & pwm) && (latch_.at(L.portB.direction.reg) & 8)) {
    const bool high = (latchB_ & 8) != 0;
    ports_[1].setLevel(3, high);
    cells().setMasked(L.portB.data.reg, 8, high ? 8 : 0);
    post(kItemPortB, kFirstPinButton[1]);
  }
  post(kItemTimer, timerItem::kPwm);
}

void Qv4131::writeEepromControl(int value) {
  Cells c = cells();
  const int address = 16 * L.eeprom.addressHigh.of(value) + c.value(L.eeprom.address.reg);
  c.setMasked(L.eeprom.control.reg, L.eeprom.addressHigh.mask | L.eeprom.write.mask, value);
  if (L.eeprom.write.setIn(value)) {
    eeprom_.write(address, 16 * c.value(L.eeprom.dataHigh.reg) + c.value(L.eeprom.dataLow.reg));
    eeprom_.startBusy(kEepromWriteTicks);
    c.setBits(L.eeprom.control.reg, 4);
    post(qv4115::kItemEepromList, 1);
  } else {
    const int byte = eeprom_.read(address);
    c.set(L.eeprom.dataLow.reg, byte & 15);
    c.set(L.eeprom.dataHigh.reg, byte >> 4);
    eeprom_.startBusy(kEepromReadTicks);
    c.setBits(L.eeprom.control.reg, 8);
  }
}

// The end of the busy time: after a write the EEPROM request takes its
// enable; bits 1-3 of the control clear.
void Qv4131::eepromDone() {
  Cells c = cells();
  if (c.bit(L.eeprom.write.reg, L.eeprom.write.mask))
    c.setMasked(L.irq.systemRequests.reg, kReqEepromWrite, c.value(L.irq.systemEnables.reg));
  c.clearBits(L.eeprom.control.reg, L.eeprom.write.mask | L.eeprom.busy.mask);
}

// ---- Port C: a direction per pin; a released pin keeps its latch level.

void Qv4131::writePortCDirection(int value) {
  periphery::Port& pc = ports_[2];
  for (int p = 0; p < 4; ++p) {
    const bool latchBit = (latchC_ >> p) & 1;
    if ((value >> p) & 1) {
      if (!pc.driven(p)) pc.drive(p, latchBit);
    } else {
      pc.release(p, periphery::ReleasedLevel::Latch, latchBit);
    }
  }
  post(kItemPortC, kFirstPinButton[2]);
}

// Only a new latch reaches the output pins, PC0 and PC1 not while the SWB
// drives them.
void Qv4131::writePortC(int value) {
  if (value == latchC_) return;
  latchC_ = value;
  const int taken = external() ? 3 : 0;
  for (int p = 0; p < 4; ++p)
    if (((latch_.at(L.portC.direction.reg) & ~taken) >> p) & 1) setPortCLevel(p, (value >> p) & 1);
  post(kItemPortC, kFirstPinButton[2]);
}

void Qv4131::setPortCLevel(int p, bool high) {
  ports_[2].setLevel(p, high);
  Cells c = cells();
  if (c.valid()) c.setMasked(L.portC.data.reg, 1 << p, high ? 15 : 0);
}

void Qv4131::showSwbLines() {
  if (!external()) return;
  const periphery::Port& pc = ports_[2];
  if (pc.driven(0)) ports_[2].setLevel(0, swb_.pinClock());
  if (pc.driven(1)) ports_[2].setLevel(1, swb_.data());
}

// ---- SWB.

// The manual transfer steps while 92 bit 2 is set and bit 3 clear.
void Qv4131::updateSwbRunning() {
  const int control = cells().value(L.swb.control.reg);
  const bool manual = L.swb.start.setIn(control) && !L.swb.automatic.setIn(control);
  swbRunning_ = manual ? swbClockCopy_ : -1;
  updateDue();
}

// Bits 0-1 select the clock; bit 3 switches the external mode: PC0/PC1 take
// the SWB's lines, or their latch bits when it ends.
void Qv4131::writeSwbClock(int value, int old) {
  swbClockCopy_ = L.swb.clockSelect.of(value);
  if ((value ^ old) & kSwbExternal.mask) {
    if (external()) {
      showSwbLines();
    } else {
      for (int p = 0; p < 2; ++p)
        if (ports_[2].driven(p)) ports_[2].setLevel(p, (latchC_ >> p) & 1);
    }
    post(kItemPortC, kFirstPinButton[2]);
  }
  updateSwbRunning();
  post(kItemSwb, baseSwb::kClockText);
}

// New data: not ready, no request; in automatic mode the sent text empties.
void Qv4131::writeSwbData() {
  swb_.dataWritten();
  swb_.clearRequest();
  if (cpu_ != nullptr) word(k42::kCond3) = 0;
  if (cells().bit(L.swb.automatic.reg, L.swb.automatic.mask)) {
    swb_.clearText();
    post(kItemSwb, baseSwb::kText);
  }
}

// Bits 0-1 add to the size (16 x bits + size mod 16 + 2). A change of bits
// 2-3: bit 3 starts the automatic mode (the first nibble from 90, the
// interrupt enable off), its clearing ends it (ClkSup, divider and size
// 0), and bit 2 alone starts a manual transfer. Every write empties the
// sent text.
void Qv4131::writeSwbControl(int value, int old) {
  Cells c = cells();
  const int changed = value ^ old;
  if (L.swb.sizeHigh.setIn(changed))
    swb_.setSize(16 * L.swb.sizeHigh.of(value) + swb_.size() % 16 + 2);
  if (L.swb.start.setIn(changed) || L.swb.automatic.setIn(changed)) {
    if (L.swb.automatic.setIn(value)) {
      swbAutomatic_ = true;
      if (swbClockCopy_ != 0) divider_ = 0;
      c.clearBits(L.irq.interruptEnable.reg, L.irq.interruptEnable.mask);
      latch_.store(L.irq.interruptEnable.reg,
                   latch_.at(L.irq.interruptEnable.reg) & ~L.irq.interruptEnable.mask);
      swb_.startAutomatic(c.value(L.swb.data.reg));
    } else {
      swbAutomatic_ = false;
      clkSup_ = 0;
      divider_ = 0;
      swb_.setSize(0);
      if (L.swb.start.setIn(value)) swb_.startManual();
    }
  }
  swb_.clearText();
  updateSwbRunning();
  post(kItemSwb,
       baseSwb::kText | baseSwb::kClockText | baseSwb::kMode | swbItem::kSize | swbItem::kClkSup);
}

// The family's automatic half step; QV4131's lines reach PC0/PC1, each
// digit shows, and the end sets the interrupt enable.
void Qv4131::automaticSwbStep() {
  Model::automaticSwbStep();
  showSwbLines();
  post(kItemSwb, baseSwb::kText);
  post(kItemPortC, kFirstPinButton[2]);
  Cells c = cells();
  if (c.bit(L.swb.automatic.reg, L.swb.automatic.mask)) return;
  c.setBits(L.irq.interruptEnable.reg, L.irq.interruptEnable.mask);
  latch_.set(L.irq.interruptEnable);
}

}  // namespace qv4131
