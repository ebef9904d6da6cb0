#pragma once
// The serial write buffer (SWB): nibbles shifted out bit 0 first on a clock
// and a data line, one bit per clock period of two half steps. The program
// feeds the next nibble through the data register while the current one goes
// out (manual mode), or the buffer takes its nibbles from RAM by itself while
// the CPU is halted (automatic mode). The sent nibbles are kept as hex digits.
//
// The bit mask walks 1, 2, 4, 8; 16 means "nibble done", 255 "finished".
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

// Whether the buffer keeps a ready flag and the text of the sent nibbles.
enum class WriteBufferReport : uint8_t { ReadyAndText, Nothing };

// The falling half that ends an automatic transfer.
enum class AutomaticEnd : uint8_t {
  DataLowAndReady,  // the data line goes low and the buffer is ready
  LeftToChip,       // only the automatic count restarts; the chip does the rest
};

struct WriteBufferConfig {
  int dataRegister;  // the next nibble; automatic mode loads RAM into it
  int sizeBits;      // bits of the automatic size
  WriteBufferStart start = WriteBufferStart::WaitsForData;
  WriteBufferReport report = WriteBufferReport::ReadyAndText;
  AutomaticEnd automaticEnd = AutomaticEnd::DataLowAndReady;
};

class SerialWriteBuffer {
 public:
  static constexpr int kNibbleDone = 16;
  static constexpr int kFinished = 255;
  // The sent text keeps at most this many digits: older ones are dropped,
  // so an endless transfer never grows memory without bound.
  static constexpr std::size_t kTextLimit = 65536;

  explicit constexpr SerialWriteBuffer(WriteBufferConfig config) : config_(config) {}

  // Chip reset: lines low, text emptied, not ready. The automatic count and
  // the size are kept.
  void reset() {
    clock_ = false;
    data_ = false;
    ready_ = false;
    text_.clear();
  }

  void clearText() { text_.clear(); }

  // ---- Register writes.
  // The data register was written: new data, not ready.
  void dataWritten() {
    newData_ = true;
    ready_ = false;
  }
  void setSizeLow(int v) { size_ = (size_ & ~15) | (v & 15); }
  void setSizeHigh(int v) { size_ = ((size_ & 15) | ((v & 3) << 4)) & ((1 << config_.sizeBits) - 1); }
  // The control register: `start` begins a manual transfer, `automatic` an
  // automatic one; both latch the data register now. By the start option, a
  // manual transfer then waits for its first half step to take the data
  // register, or sends the latched nibble with the data still new.
  void control(bool start, bool automatic, int data) {
    if (start || automatic) {
      mask_ = 1;
      latch_ = data & 15;
    }
    if (config_.start == WriteBufferStart::LatchesData) {
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
    Half h;
    if (clock_) {
      clock_ = false;
      h.hold = true;
      h.stop = mask_ == kFinished || (mask_ == kNibbleDone && !newData_);
      return h;
    }
    if (mask_ < kNibbleDone) {
      send(latch_);
    } else if (mask_ == kNibbleDone) {
      mask_ = 1;
      const bool reports = config_.report == WriteBufferReport::ReadyAndText;
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

  // ---- Automatic half step (the CPU is halted). Bits come from the data
  // register as it stands; after each nibble it is loaded from RAM at the
  // automatic count (bounded to the register file), until the count exceeds
  // the size. True when the transfer has finished (after the falling half,
  // which does what the end option says).
  bool automaticHalfStep(Cells& cells) {
    if (clock_) {
      clock_ = false;
      if (mask_ != kFinished) return false;
      count_ = 0;
      if (config_.automaticEnd == AutomaticEnd::DataLowAndReady) {
        data_ = false;
        ready_ = true;
      }
      return true;
    }
    if (mask_ == kFinished) {
      clock_ = true;
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
    clock_ = true;
    return false;
  }

  // The transfer was stopped (by the chip, on `Half::stop`).
  void stopped() { count_ = 0; }

  bool clock() const { return clock_; }
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
    data_ = (nibble & mask_) != 0;
    mask_ <<= 1;
  }
  void append(int nibble) {
    if (text_.size() >= kTextLimit) text_.erase(0, kTextLimit / 2);
    text_ += "0123456789ABCDEF"[nibble & 15];
  }

  WriteBufferConfig config_;
  bool clock_ = false;
  bool data_ = false;
  int mask_ = 0;
  int latch_ = 0;
  bool newData_ = false;
  bool ready_ = false;
  int count_ = 0;
  int size_ = 0;
  std::string text_;
};

}  // namespace periphery
