#pragma once
// The serial write buffer (SWB): nibbles shifted out bit 0 first on a clock
// and a data line, one bit per clock period of two half steps. The program
// feeds the next nibble through the data register while the current one goes
// out (manual mode), or the buffer takes its nibbles from RAM by itself while
// the CPU is halted (automatic mode). The sent nibbles are kept as hex digits.
//
// The bit mask walks 1, 2, 4, 8; 16 means "nibble done", 255 "finished".
//
// Chips differ in how a transfer starts, how a manual one runs and what it
// reports, when and how an automatic one ends and what a long sent text does:
// WriteBufferStyle names each way.
#include <bit>
#include <cstdint>
#include <string>

#include "cells.h"

namespace periphery {

// What a start (control bit 2) or the automatic mode does to the first nibble.
enum class WriteBufferStart : uint8_t {
  WaitsForData,  // a start sends nothing until the first half step takes the data register
  LatchesData,   // the data register is latched at once and stays new data as well, so a
                 // nibble written once goes out twice unless it is written again in time
};

// How a manual transfer runs.
enum class ManualSequence : uint8_t {
  // The falling half holds the pass and stops a finished transfer; a new
  // nibble's digit is appended when it is taken.
  HoldOnFall,
  // No hold: a start sets the mask to 0; the low half appends the finished
  // nibble's digit, then stops, takes the next nibble (raising the buffer's
  // own request) or sends the next bit.
  AppendAtEnd,
};

// Whether a manual transfer keeps a ready flag and the text of the sent nibbles.
enum class WriteBufferReport : uint8_t { ReadyAndText, Nothing };

// When an automatic transfer ends.
enum class AutomaticEnd : uint8_t {
  CountAboveSize,  // after the nibble in which the count exceeds the size; no digits kept
  CountAtSize,     // after the nibble that finds the count at the size; every digit kept
};

// What the falling half that ends an automatic transfer does.
enum class AutomaticFinish : uint8_t {
  DataLowAndReady,  // the data line goes low and the buffer is ready
  LeftToChip,       // only the automatic count restarts; the chip does the rest
};

// What a long sent text does.
enum class TextLimit : uint8_t {
  DropOldest,           // the newest 64 Ki digits are kept
  RestartThenOverflow,  // beyond 498 characters it restarts as "..."; the twelfth restart
                        // overflows it: nothing is appended until it is emptied
};

struct WriteBufferStyle {
  WriteBufferStart start = WriteBufferStart::WaitsForData;
  ManualSequence manual = ManualSequence::HoldOnFall;
  WriteBufferReport report = WriteBufferReport::ReadyAndText;
  AutomaticEnd automaticEnd = AutomaticEnd::CountAboveSize;
  AutomaticFinish automaticFinish = AutomaticFinish::DataLowAndReady;
  TextLimit textLimit = TextLimit::DropOldest;
};

struct WriteBufferConfig {
  int dataRegister;  // the next nibble; automatic mode loads RAM into it
  int sizeBits;      // bits of the automatic size
  WriteBufferStyle style = {};
};

class SerialWriteBuffer {
 public:
  static constexpr int kNibbleDone = 16;
  static constexpr int kFinished = 255;
  // The sent text keeps at most this many digits: older ones are dropped,
  // so an endless transfer never grows memory without bound.
  static constexpr std::size_t kTextLimit = 65536;
  // RestartThenOverflow: the longest text, the restart text, the restart
  // that overflows it and the overflowed text.
  static constexpr std::size_t kShortTextLimit = 498;
  static constexpr const char* kRestartText = "...";
  static constexpr int kOverflowRestart = 12;
  static constexpr const char* kOverflowText = "??????????????";

  explicit constexpr SerialWriteBuffer(WriteBufferConfig config) : config_(config) {}

  // Chip reset: lines low, text emptied, not ready, no request. The
  // automatic count and the size are kept.
  void reset() {
    clock_ = false;
    data_ = false;
    pinClock_ = false;
    ready_ = false;
    request_ = false;
    clearText();
  }
  // The automatic count and the size too.
  void resetCountAndSize() {
    count_ = 0;
    size_ = 0;
  }

  // Empties the sent text (and ends an overflow).
  void clearText() {
    text_.clear();
    restarts_ = 0;
    overflowed_ = false;
  }

  // ---- Register writes.
  // The data register was written: new data, not ready.
  void dataWritten() {
    newData_ = true;
    ready_ = false;
  }
  void setSizeLow(int v) { size_ = (size_ & ~15) | (v & 15); }
  void setSizeHigh(int v) { size_ = ((size_ & 15) | ((v & 3) << 4)) & ((1 << config_.sizeBits) - 1); }
  void setSize(int v) { size_ = v; }
  // The control register: `start` begins a manual transfer, `automatic` an
  // automatic one; both latch the data register now. By the start option, a
  // manual transfer then waits for its first half step to take the data
  // register, or sends the latched nibble with the data still new.
  void control(bool start, bool automatic, int data) {
    if (start || automatic) {
      mask_ = 1;
      latch_ = data & 15;
    }
    if (config_.style.start == WriteBufferStart::LatchesData) {
      if (start || automatic) newData_ = true;
      return;
    }
    if (start) {
      mask_ = kNibbleDone;
      newData_ = true;
      text_.clear();
    }
  }

  // ---- Manual half step.
  struct Half {
    bool hold = false;     // a falling clock edge: the caller waits
    bool stop = false;     // the transfer ended
    bool ready = false;    // a nibble was taken: ready for the next one
    bool appended = false; // a digit was added to the sent text
  };
  Half halfStep(int data) {
    if (config_.style.manual == ManualSequence::AppendAtEnd) return appendingHalfStep(data);
    Half h;
    if (clock_) {
      fall();
      h.hold = true;
      h.stop = mask_ == kFinished || (mask_ == kNibbleDone && !newData_);
      return h;
    }
    if (mask_ < kNibbleDone) {
      send(latch_);
    } else if (mask_ == kNibbleDone) {
      mask_ = 1;
      const bool reports = config_.style.report == WriteBufferReport::ReadyAndText;
      h.ready = reports;
      ready_ = reports;
      if (newData_) {
        latch_ = data & 15;
        newData_ = false;
        if (reports) {
          append(latch_);
          h.appended = true;
        }
        send(latch_);
      } else {
        mask_ = kFinished;
      }
    }
    return h;
  }

  // AppendAtEnd: a manual start; the first low half takes the data.
  void startManual() { mask_ = 0; }
  // An automatic start: the first nibble is `data`, from its first bit.
  void startAutomatic(int data) {
    mask_ = 1;
    latch_ = data & 15;
  }

  // ---- Automatic half step (the CPU is halted). Bits come from the data
  // register as it stands; after each nibble it is loaded from RAM at the
  // automatic count (bounded to the register file), until the count exceeds
  // the size. True when the transfer has finished (after the falling half,
  // which does what the finish option says).
  // With AutomaticEnd::CountAtSize the bits come from the latch and the
  // last nibble keeps only its lower `lastBits` bits: its other clock pulses
  // are not given on the clock pin (pinClock()) and its digit is masked.
  bool automaticHalfStep(Cells& cells, int lastBits = 4) {
    if (config_.style.automaticEnd == AutomaticEnd::CountAtSize) return countingHalfStep(cells, lastBits);
    if (clock_) return automaticFall();
    if (mask_ == kFinished) {
      clock_ = pinClock_ = true;
      return false;
    }
    if (mask_ < kNibbleDone) send(cells.value(config_.dataRegister));
    if (mask_ >= kNibbleDone) {
      if (count_ > size_) {
        mask_ = kFinished;
      } else {
        cells.set(config_.dataRegister, cells.value(count_ & (Cells::kCount - 1)));
        ++count_;
        mask_ = 1;
      }
    }
    clock_ = pinClock_ = true;
    return false;
  }

  // The transfer was stopped (by the chip, on `Half::stop`).
  void stopped() { count_ = 0; }

  bool clock() const { return clock_; }
  // The clock as a pin carries it: the clock, less the suppressed pulses of
  // an automatic transfer's last nibble.
  bool pinClock() const { return pinClock_; }
  // AppendAtEnd: raised when a nibble is taken, lowered by new data, a stop
  // or a reset.
  bool request() const { return request_; }
  void clearRequest() { request_ = false; }
  // RestartThenOverflow: the text overflowed and is held until emptied.
  bool overflowed() const { return overflowed_; }
  // True once after each overflow.
  bool takeOverflow() {
    if (!overflowNew_) [[likely]]
      return false;
    overflowNew_ = false;
    return true;
  }
  bool data() const { return data_; }
  bool ready() const { return ready_; }
  void setReady(bool on) { ready_ = on; }
  int mask() const { return mask_; }
  int size() const { return size_; }
  int count() const { return count_; }
  const std::string& text() const { return text_; }

 private:
  void send(int nibble) {
    clock_ = true;
    pinClock_ = true;
    data_ = (nibble & mask_) != 0;
    mask_ <<= 1;
  }
  void fall() {
    clock_ = false;
    pinClock_ = false;
  }

  // The falling half of an automatic transfer; after the last bit it ends
  // the transfer (true).
  bool automaticFall() {
    fall();
    if (mask_ != kFinished) return false;
    count_ = 0;
    if (config_.style.automaticFinish == AutomaticFinish::DataLowAndReady) {
      data_ = false;
      ready_ = true;
    }
    return true;
  }

  // AppendAtEnd's half step.
  Half appendingHalfStep(int data) {
    Half h;
    if (clock_) {
      fall();
      return h;
    }
    if (mask_ == kNibbleDone) {
      append(latch_);
      h.appended = true;
    }
    if (mask_ == kFinished || (mask_ == kNibbleDone && !newData_)) {
      request_ = false;
      h.stop = true;
      return h;
    }
    if (mask_ == 0 || mask_ == kNibbleDone) {
      if (!newData_) {
        mask_ = kFinished;
        return h;
      }
      latch_ = data & 15;
      newData_ = false;
      mask_ = 1;
      request_ = true;
      ready_ = true;
      h.ready = true;
    }
    send(latch_);
    return h;
  }

  // CountAtSize's automatic half step.
  bool countingHalfStep(Cells& cells, int lastBits) {
    if (clock_) return automaticFall();
    if (mask_ == kFinished || mask_ == 0) {
      clock_ = pinClock_ = true;
      mask_ = kFinished;
      return false;
    }
    const bool last = count_ >= size_;
    const int bit = std::countr_zero(static_cast<unsigned>(mask_));
    send(latch_);
    if (last && bit >= lastBits) pinClock_ = false;
    if (mask_ != kNibbleDone) return false;
    if (last) {
      append(latch_ & ((1 << lastBits) - 1));
      mask_ = kFinished;
      return false;
    }
    append(latch_);
    latch_ = cells.value(count_ & (Cells::kCount - 1));
    cells.set(config_.dataRegister, latch_);
    ++count_;
    mask_ = 1;
    return false;
  }

  void append(int nibble) {
    const char digit = "0123456789ABCDEF"[nibble & 15];
    if (config_.style.textLimit == TextLimit::DropOldest) {
      if (text_.size() >= kTextLimit) text_.erase(0, kTextLimit / 2);
      text_ += digit;
      return;
    }
    if (overflowed_) return;
    text_ += digit;
    if (text_.size() <= kShortTextLimit) return;
    if (++restarts_ < kOverflowRestart) {
      text_ = kRestartText;
      return;
    }
    text_ = kOverflowText;
    overflowed_ = true;
    overflowNew_ = true;
  }

  WriteBufferConfig config_;
  bool clock_ = false;
  bool data_ = false;
  bool pinClock_ = false;
  bool request_ = false;
  int mask_ = 0;
  int latch_ = 0;
  bool newData_ = false;
  bool ready_ = false;
  int count_ = 0;
  int size_ = 0;
  std::string text_;
  int restarts_ = 0;
  bool overflowed_ = false;
  bool overflowNew_ = false;
};

}  // namespace periphery
