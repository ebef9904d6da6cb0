#pragma once
// The gauge window VXQBootGauge: a sunken frame with a bar of blocks that
// fills from the left (from the bottom when vertical) in proportion to its
// position within its range. Driven by the messages of its window class.
#include <QColor>
#include <QWidget>
#include <cstdint>

namespace setup {

inline constexpr uint32_t kGaugeRepaint = 0x400;   // WM_USER
inline constexpr uint32_t kGaugeSetRange = 0x401;  // lParam: min low word, max high word
inline constexpr uint32_t kGaugeSetPos = 0x402;
inline constexpr uint32_t kGaugeDeltaPos = 0x403;
inline constexpr uint32_t kGaugeSetFlags = 0x404;

// The state of one gauge.
struct GaugeData {
  int minimum = 0;
  int maximum = 100;
  int flags = 1;
  int position = 0;
  int border = 1;  // the system's border width
  bool horizontal = true;
  int blocks = 5;
  int blockFill = 90;  // per cent of a block's pitch
  QColor bar;          // the system's highlight colour
};

// "%sGauge%s" of "VXQBoot" and an empty suffix.
inline constexpr const char* kGaugeClassName = "VXQBootGauge";

class VXQBootGauge : public QWidget {
 public:
  explicit VXQBootGauge(QWidget* parent = nullptr);

  // The window procedure's messages; returns 0.
  intptr_t Message(uint32_t message, uintptr_t wParam, intptr_t lParam);
  const GaugeData& Data() const { return data_; }
  GaugeData& Data() { return data_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  GaugeData data_;
};

}  // namespace setup
