#include "core/link_settings_window.h"

#include "platform/controls.h"

namespace monitor {

int RateIndex(std::span<const int> rates, int32_t baud) {
  for (size_t i = 0; i < rates.size(); ++i) {
    if (rates[i] == baud) return static_cast<int>(i);
  }
  return -1;
}

void ShowLinkSettings(const LinkSettings& stored, std::span<const int> rates, QComboBox& com,
                      QComboBox& baud, QCheckBox& buffered) {
  TickBox(buffered, stored.buffered == 1);
  for (int rate : rates) baud.addItem(QString::number(rate));
  baud.setCurrentIndex(RateIndex(rates, stored.baud));
  for (const char* name : {"COM1", "COM2", "COM3", "COM4"}) com.addItem(name);
  com.setCurrentIndex(stored.com >= 0 && stored.com <= 3 ? stored.com : -1);
}

void TickBox(QCheckBox& box, bool on) {
  platform::SetButtonValue(box, on ? 1 : 0);
}

}  // namespace monitor
