#include "mainframe/record_list_format.h"

namespace recordlist {

wxString DatePart(const wxString& dateText) {
    int blank = dateText.Find(' ');
    return blank == wxNOT_FOUND ? dateText : dateText.Left(blank);
}

wxString TimePart(const wxString& dateText) {
    int blank = dateText.Find(' ');
    return blank == wxNOT_FOUND ? wxString() : dateText.Mid(blank + 1);
}

wxString FormatDuration(std::int64_t sampleCount, std::int64_t intervalMs) {
    // 64-bit: a million samples at 16 s overflow a 32-bit product.
    std::int64_t seconds = sampleCount * intervalMs / 1000;
    if (seconds < 0)
        seconds = 0;
    // Hours past a day are shown as they are: 25 hours read 25:00:00.
    const long long h = seconds / 3600;
    int m = static_cast<int>((seconds / 60) % 60);
    int s = static_cast<int>(seconds % 60);
    if (h == 0)
        return wxString::Format(wxString::FromAscii("%02d:%02d"), m, s);
    return wxString::Format(wxString::FromAscii("%02lld:%02d:%02d"), h, m, s);
}

wxString FormatVolume(float volume) {
    return wxString::Format(wxString::FromAscii("%.2f"), volume);
}

}  // namespace recordlist
