#include "widgets/lcd_layout.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array<std::uint8_t, 256> MakeSegmentTable() {
    std::array<std::uint8_t, 256> t{};
    t['0'] = 0x3F;
    t['1'] = 0x14;
    t['2'] = 0x6D;
    t['3'] = 0x75;
    t['4'] = 0x56;
    t['5'] = 0x73;
    t['6'] = 0x7B;
    t['7'] = 0x15;
    t['8'] = 0x7F;
    t['9'] = 0x77;
    t[' '] = 0x00;
    t['-'] = 0x40;
    t['r'] = 0x48;
    t['o'] = 0x78;
    t['^'] = 0x47;
    t['A'] = 0x5F;
    t['B'] = 0x7A;
    t['C'] = 0x2B;
    t['D'] = 0x7C;
    t['E'] = 0x6B;
    t['F'] = 0x4B;
    t['H'] = 0x5E;
    return t;
}

constexpr std::array<std::uint8_t, 256> segmentTable = MakeSegmentTable();

}  // namespace

std::uint8_t LcdSegmentsOf(wxUniChar c) {
    // Only Latin-1 has entries; anything beyond must not alias onto a digit by its low byte.
    const wxUint32 code = c.GetValue();
    return code < segmentTable.size() ? segmentTable[code] : 0;
}

std::vector<LcdCell> LayoutLcdText(const wxString& original, int cellCount) {
    std::vector<LcdCell> cells(static_cast<size_t>(std::max(cellCount, 0)));
    if (cells.empty())
        return cells;

    // Consecutive points each get a blank cell of their own.
    wxString text = original;
    const wxString twoPoints = wxString::FromAscii("..");
    const wxString separated = wxString::FromAscii(". .");
    while (text.Replace(twoPoints, separated) > 0) {
    }

    const wxUniChar point('.');
    const wxUniChar colon(':');
    size_t i = 0;
    for (size_t j = text.length(); j-- > 0 && i < cells.size();) {
        const wxUniChar c = text[j];
        if (c == point)
            continue;
        const wxUniChar next = j + 1 < text.length() ? wxUniChar(text[j + 1]) : wxUniChar(' ');
        LcdCell& cell = cells[i++];
        if (c == colon) {
            cell.colon = true;
        } else {
            cell.segments = LcdSegmentsOf(c);
            cell.point = next == point;
        }
    }
    return cells;
}

LcdTransform ComputeLcdTransform(const wxSize& client, const LcdGeometry& geometry, int cellCount) {
    const double tw = geometry.TotalWidth(cellCount);
    const double th = geometry.TotalHeight();
    LcdTransform t;
    if (tw <= 0 || th <= 0)
        return t;
    t.scale = std::max(0.0, std::min(client.x / tw, client.y / th));
    t.origin.x = static_cast<int>((client.x - t.scale * tw) / 2);
    t.origin.y = static_cast<int>((client.y - t.scale * th) / 2);
    return t;
}

wxString FormatElapsed(double seconds) {
    constexpr double day = 24 * 60 * 60;
    // A value that is no number of seconds at all shows midnight rather than garbage.
    double t = std::isfinite(seconds) ? std::fmod(std::trunc(seconds), day) : 0.0;
    if (t < 0)
        t += day;
    const long s = static_cast<long>(t);
    return wxString::Format(wxString::FromAscii("%02ld:%02ld:%02ld"), s / 3600, s / 60 % 60, s % 60);
}
