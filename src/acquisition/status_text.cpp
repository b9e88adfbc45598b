#include "acquisition/status_text.h"
#include "data/translate.h"

#include "device/protocol.h"

#include <algorithm>

namespace status {

wxString RemainingTimeText(long seconds) {
    if (seconds < 0)
        seconds = 0;
    const long d = seconds / 86400;
    const long h = (seconds % 86400) / 3600;
    const long m = (seconds % 3600) / 60;
    const wxString clock = wxString::Format(wxString::FromAscii("%02ld:%02ld"), h, m);
    if (d >= 1)
        return wxString::Format(Tr("%ld Days, "), d) + clock + Tr(" Minuten Speicherplatz vorhanden");
    if (h >= 1)
        return clock + Tr(" Stunden Speicherplatz vorhanden");
    return clock + Tr(" Minuten Speicherplatz vorhanden");
}

int MemoryGaugeValue(std::uint32_t freeBytes, int range) {
    const double used = logger::MemoryTop - static_cast<double>(freeBytes);
    // A logger reporting more free bytes than it has must not drive the gauge below zero.
    return std::clamp(static_cast<int>(range * used / logger::MemoryTop), 0, range);
}

BatteryLevel BatteryLevelOf(int b) {
    if (b > 350)
        return BatteryLevel::Good;
    if (b > 175)
        return BatteryLevel::Low;
    return BatteryLevel::Critical;
}

}  // namespace status
