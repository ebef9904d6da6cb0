#pragma once
// The six modules of the LCD family: host caption, the chip's own LCD
// definition file and the run-loop variant of each.
#include <array>
#include <string_view>

namespace simcore::lcd {

// 1: delay per pass, all messages per pass, sleep with status field, four
//    periphery steps per pass.
// 2: one message per pass, one periphery step, no sleep.
// 3: as 2, and a sleep in which a pass only dispatches messages.
enum class RunVariant { Delayed = 1, Plain = 2, Sleeping = 3 };

// What Instruction_Reset adds to the chip's power-on reset.
enum class ResetExtra {
  None,
  ClearRegisters,  // value nibbles of 0-126 cleared, 108 keeps bit 3, 114 = 14 keeping bit 0
  DisplayOff,      // SetLCDstatus(0) and SetLCDMUX(15), after the watchdog's reset too
};

struct LcdModule {
  std::string_view digits;      // the module's name, "42240000"
  std::string_view caption;     // the host window's title
  std::string_view definition;  // the chip's LCD definition file
  RunVariant variant;
  ResetExtra resetExtra;
};

inline constexpr std::array<LcdModule, 6> kLcdModules = {{
    {"42240000", "QV4124 Periphery", "4224LDEF.CFG", RunVariant::Delayed, ResetExtra::None},
    {"42170000", "QV4117 Periphery", "4217LDEF.CFG", RunVariant::Plain, ResetExtra::ClearRegisters},
    {"42180000", "QV4118 Periphery", "4218LDEF.CFG", RunVariant::Plain, ResetExtra::ClearRegisters},
    {"42190000", "QV4119 Periphery", "4219LDEF.CFG", RunVariant::Sleeping, ResetExtra::ClearRegisters},
    {"42230000", "QV4123 Periphery", "4223LDEF.CFG", RunVariant::Sleeping, ResetExtra::ClearRegisters},
    {"42160000", "QV4116 Periphery", "4216LDEF.CFG", RunVariant::Plain, ResetExtra::DisplayOff},
}};

// The row of a module by its digits (compile time: a wrong name does not build).
consteval const LcdModule& LcdModuleOf(std::string_view digits) {
  for (const LcdModule& m : kLcdModules)
    if (m.digits == digits) return m;
  throw "not an LCD module";
}

}  // namespace simcore::lcd
