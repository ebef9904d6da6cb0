#pragma once
// A port of 4 pins (or another count: BasicPort<N>): one pin-state word per pin, the same bit layout in every
// chip, shared between the periphery model and its window:
//   bit 0 level (0 "L", 1 "H")   bit 1 falling edge, bit 2 rising edge since
//   the last sampling            bit 3 interrupt marker shown
//   bits 4-5 marker kind         bit 6 button text shown
//   bit 7 the chip drives the pin (output)
//   bit 8 the pin's display must be refreshed
//   bit 9 the pin serves a function of the chip (buzzer, serial clock, a
//         comparator input): its button shows the function's text and a
//         click changes nothing
// Beside the words, the port keeps the edges of its input pins in the order
// they happened since the last sampling, so that a pin toggled twice between
// two samplings counts both edges, in order.
#include <cstdint>

namespace periphery {

namespace pin {
constexpr uint32_t kLevel = 1u << 0;
constexpr uint32_t kFalling = 1u << 1;
constexpr uint32_t kRising = 1u << 2;
constexpr uint32_t kMarker = 1u << 3;
constexpr uint32_t kMarkerKind = 3u << 4;
constexpr uint32_t kTextShown = 1u << 6;
constexpr uint32_t kDriven = 1u << 7;
constexpr uint32_t kRefresh = 1u << 8;
constexpr uint32_t kFunction = 1u << 9;
constexpr uint32_t kEdges = kFalling | kRising;
}  // namespace pin

struct PinEdge {
  uint8_t pin;
  bool rising;
  uint8_t levelsAfter;  // the port's levels just after this edge
};

template <int PinCount>
class BasicPort {
 public:
  static constexpr int kPins = PinCount;
  static_assert(PinCount >= 1 && PinCount <= 8, "levels fit a byte");
  static constexpr int kEdgeLog = 8;

  // Every pin word becomes `word`; the edge log is emptied.
  void reset(uint32_t word) {
    for (uint32_t& w : words_) w = word;
    edgeCount_ = 0;
  }

  uint32_t word(int pin) const { return words_[pin]; }
  uint32_t& word(int pin) { return words_[pin]; }
  bool level(int pin) const { return (words_[pin] & pin::kLevel) != 0; }
  bool driven(int pin) const { return (words_[pin] & pin::kDriven) != 0; }

  // The levels, bit n = pin n.
  int levels() const {
    int v = 0;
    for (int i = 0; i < kPins; ++i) v |= static_cast<int>(words_[i] & pin::kLevel) << i;
    return v;
  }

  // A click on an input pin: the level toggles, the edge is noted and the
  // text is to be refreshed. A driven pin, or one serving a function,
  // ignores it (returns false).
  bool toggle(int p) {
    if (words_[p] & (pin::kDriven | pin::kFunction)) return false;
    uint32_t& w = words_[p];
    w ^= pin::kLevel;
    const bool rising = (w & pin::kLevel) != 0;
    w |= (rising ? pin::kRising : pin::kFalling) | pin::kRefresh;
    noteEdge(PinEdge{static_cast<uint8_t>(p), rising, static_cast<uint8_t>(levels())});
    return true;
  }

  // The chip drives the pin at `level`. Returns true when the pin's display changed.
  bool drive(int p, bool level) {
    uint32_t& w = words_[p];
    const uint32_t next = (w & ~(pin::kLevel | pin::kEdges)) | pin::kDriven | (level ? pin::kLevel : 0u);
    const uint32_t shown = pin::kLevel | pin::kDriven;
    const bool changed = (next & shown) != (w & shown);
    w = next | (changed ? pin::kRefresh : 0u);
    return changed;
  }

  // The pin starts or stops serving a function of the chip (its button text).
  void setFunction(int p, bool on) {
    uint32_t& w = words_[p];
    w = (w & ~pin::kFunction) | (on ? pin::kFunction : 0u) | pin::kRefresh;
  }
  bool function(int p) const { return (words_[p] & pin::kFunction) != 0; }

  // The level of a pin, as the chip sets it (no edge noted).
  void setLevel(int p, bool high) {
    uint32_t& w = words_[p];
    w = (w & ~pin::kLevel) | (high ? pin::kLevel : 0u);
  }

  // The pin becomes an input again, keeping its level.
  bool release(int p) {
    uint32_t& w = words_[p];
    if (!(w & pin::kDriven)) return false;
    w = (w & ~pin::kDriven) | pin::kRefresh;
    return true;
  }

  // Sampling: hands the noted edges to f(PinEdge) in the order they happened,
  // then clears the edge bits and the log.
  template <class F>
  void takeEdges(F&& f) {
    for (int i = 0; i < edgeCount_; ++i) f(edgeLog_[i]);
    edgeCount_ = 0;
    for (uint32_t& w : words_) w &= ~pin::kEdges;
  }
  int pendingEdges() const { return edgeCount_; }

  // The window took the refresh request of the pin's display.
  bool takeRefresh(int p) {
    const bool r = (words_[p] & pin::kRefresh) != 0;
    words_[p] &= ~pin::kRefresh;
    return r;
  }

 private:
  // Keeps the newest kEdgeLog edges: the counters that use them saturate
  // below that, and the latest edges decide the final states.
  void noteEdge(PinEdge e) {
    if (edgeCount_ == kEdgeLog) {
      for (int i = 1; i < kEdgeLog; ++i) edgeLog_[i - 1] = edgeLog_[i];
      --edgeCount_;
    }
    edgeLog_[edgeCount_++] = e;
  }

  uint32_t words_[kPins] = {};
  PinEdge edgeLog_[kEdgeLog] = {};
  int edgeCount_ = 0;
};

using Port = BasicPort<4>;

// The rule of a port whose pins share one direction bit (all in or all out).
// A direction write drives every pin of `pins` at its bit of `levels` (an
// output port), or releases the driven ones to level 0 (an input port). A
// latch write acts only when the value differs from the latch; then, while
// the port is an output, the pins of `pins` take its bits, and the result is
// true (the chip writes its register bits and redraws).
struct WholePortRule {
  template <int N>
  static void setDirection(BasicPort<N>& port, bool output, int levels, int pins = (1 << N) - 1) {
    for (int p = 0; p < N; ++p) {
      if (!((pins >> p) & 1)) continue;
      if (output)
        port.drive(p, (levels >> p) & 1);
      else if (port.release(p))
        port.setLevel(p, false);
    }
  }
  template <int N>
  static bool writeLatch(BasicPort<N>& port, int& latch, bool output, int value, int pins = (1 << N) - 1) {
    if (value == latch) return false;
    latch = value;
    if (!output) return false;
    for (int p = 0; p < N; ++p)
      if ((pins >> p) & 1) port.setLevel(p, (value >> p) & 1);
    return true;
  }
};

}  // namespace periphery
