#pragma once
// What the serial links' settings windows show alike: the port and rate
// lists and the buffered box from the stored settings, and ticked boxes.
#include <QCheckBox>
#include <QComboBox>
#include <cstdint>
#include <span>

#include "core/settings/link_settings.h"

namespace monitor {

// The entry of `baud` in `rates`; -1 when it is not listed.
int RateIndex(std::span<const int> rates, int32_t baud);

// Fills the port list (COM1..COM4) and the rate list, selects the stored
// entries (none for a value not listed) and ticks the buffered box for 1.
void ShowLinkSettings(const LinkSettings& stored, std::span<const int> rates, QComboBox& com,
                      QComboBox& baud, QCheckBox& buffered);

// Ticks the box, or clears it.
void TickBox(QCheckBox& box, bool on);

}  // namespace monitor
