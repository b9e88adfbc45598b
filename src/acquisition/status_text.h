#pragma once

#include <wx/string.h>

#include <cstdint>

// The logger status shown under the gauges.
namespace status {

// Remaining recording time in whole seconds as text: "2 Days, 05:07 Minuten Speicherplatz
// vorhanden", "05:07 Stunden Speicherplatz vorhanden", "00:42 Minuten Speicherplatz vorhanden".
wxString RemainingTimeText(long seconds);
// Share of the logger memory in use on a gauge of the given range.
int MemoryGaugeValue(std::uint32_t freeBytes, int range);

enum class BatteryLevel { Good, Low, Critical };
// B is three times the logger's battery reading: above 350 good, above 175 low, else critical.
BatteryLevel BatteryLevelOf(int b);

}  // namespace status
