#pragma once
// QV4234's parameter sets: 82 integers each, voltages in hundredths of a
// volt. Set 0 and set 1 are the chip's two variants; the controller options
// choose one and patch it into the active set that the model reads.
#include <array>
#include <cstdint>

namespace qv4234 {

using ParameterSet = std::array<int32_t, 82>;

// Field numbers.
enum Field : int {
  kFieldOptionsBuilt = 0,   // 3 once built from the options
  kFieldTickExponent = 1,   // register 122 bits 0-2
  kFieldTickBit3 = 2,       // register 122 bit 3, kept
  kFieldDoubleStep = 4,     // the timer steps twice per input event
  kFieldRcMode = 5,         // fields 5-8: RC clock
  kFieldRcDivider = 6,
  kFieldRcLast = 8,
  kFieldSliderTop = 10,     // top of both voltage sliders
  kFieldSupplyFall = 32,    // a running chip falls into power-on reset below this
  kFieldSupplyRise = 33,    // needed to leave power-on reset
  kFieldPowerOnIndex = 34,  // 34 or 35 (option bit 0): threshold index at power-on
  kFieldComparatorUp = 36,  // power-on comparator state
  kFieldRestartPowerOn = 37,// every periphery reset restarts the power-on comparison
  kFieldAdcThreshold = 40,  // 40-55: ADC thresholds, index 0-15
  kFieldAdcTopPair = 56,    // 56, 57: choices for index 15
  kFieldAdcIndex = 58,
  kFieldAdcVoltage = 59,    // the ADC slider
  kFieldSupplyThreshold = 62,  // 62-77
  kFieldSupplyTopPair = 78,    // 78, 79
  kFieldSupplyIndex = 80,
  kFieldSupplyVoltage = 81,    // the supply slider
};

namespace detail {
constexpr ParameterSet MakeSet(int rcDivider, int top, int fall, int rise, int index0, int index1,
                               int restart, const std::array<int, 16>& adc,
                               const std::array<int, 2>& adcPair, const std::array<int, 16>& supply,
                               const std::array<int, 2>& supplyPair) {
  ParameterSet s{};
  s[kFieldRcDivider] = rcDivider;
  s[kFieldSliderTop] = top;
  s[kFieldSupplyFall] = fall;
  s[kFieldSupplyRise] = rise;
  s[kFieldPowerOnIndex] = index0;
  s[kFieldPowerOnIndex + 1] = index1;
  s[kFieldRestartPowerOn] = restart;
  for (int i = 0; i < 16; ++i) s[kFieldAdcThreshold + i] = adc[i];
  s[kFieldAdcTopPair] = adcPair[0];
  s[kFieldAdcTopPair + 1] = adcPair[1];
  for (int i = 0; i < 16; ++i) s[kFieldSupplyThreshold + i] = supply[i];
  s[kFieldSupplyTopPair] = supplyPair[0];
  s[kFieldSupplyTopPair + 1] = supplyPair[1];
  return s;
}
}  // namespace detail

constexpr ParameterSet kSet0 = detail::MakeSet(
    1, 360, 105, 125, 5, 9, 0,
    {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50}, {275, 300},
    {50, 65, 80, 95, 120, 125, 125, 125, 125, 125, 125, 125, 125, 125, 125, 125}, {275, 300});

constexpr ParameterSet kSet1 = detail::MakeSet(
    2, 180, 70, 110, 9, 9, 1,
    {36, 49, 49, 58, 68, 77, 86, 94, 104, 113, 122, 131, 140, 149, 158, 168}, {166, 183},
    {0, 0, 0, 0, 0, 0, 82, 92, 101, 110, 120, 129, 138, 148, 157, 166}, {166, 183});

// Option word 3 bits.
constexpr uint32_t kOptPowerOnIndex = 1;  // field 35 instead of 34
constexpr uint32_t kOptDoubleStep = 2;
constexpr uint32_t kOptSet1 = 4;
constexpr uint32_t kOptRestartPowerOn = 8;
constexpr uint32_t kOptRcFromSet1 = 16;
constexpr uint32_t kOptMask = 0x1F;

// The active set for option word 3 (sliders at the top).
constexpr ParameterSet BuildActiveSet(uint32_t word3) {
  word3 &= kOptMask;
  ParameterSet a = (word3 & kOptSet1) ? kSet1 : kSet0;
  a[kFieldOptionsBuilt] = 3;
  a[kFieldAdcVoltage] = a[kFieldSliderTop];
  a[kFieldSupplyVoltage] = a[kFieldSliderTop];
  const ParameterSet& rc = (word3 & kOptRcFromSet1) ? kSet1 : kSet0;
  for (int f = kFieldDoubleStep; f <= kFieldRcLast; ++f) a[f] = rc[f];
  const int index = a[kFieldPowerOnIndex + ((word3 & kOptPowerOnIndex) ? 1 : 0)] & 15;
  a[kFieldSupplyRise] = a[kFieldSupplyThreshold + index];
  a[kFieldDoubleStep] = (word3 & kOptDoubleStep) ? 1 : 0;
  a[kFieldRestartPowerOn] = (word3 & kOptRestartPowerOn) ? 1 : 0;
  return a;
}

// The controller options: four words, a changed flag.
struct ControllerOptions {
  uint32_t word[4] = {0, 0, 0, 0};
  bool changed = false;

  // Parses "%x,%x,%x,%x" (blanks before a number allowed, trailing text
  // ignored, each field kept to 32 bits). Null or unreadable text: all 0 and
  // the changed flag set. Words 0-2 are always 0 after, word 3 masked.
  void set(const char* text);
  // "%X,%X,%X,%X" into `buffer` when the changed flag is set and the text
  // with its terminator fits `length`; the flag is then cleared and the
  // result is the text's length. Otherwise -1, buffer untouched.
  int32_t get(int32_t length, char* buffer);
};

}  // namespace qv4234
