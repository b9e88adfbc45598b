#include "files/csv_export.h"

#include "data/units.h"
#include "files/file_text.h"

#include <algorithm>
#include <string>
#include <vector>

namespace csvexport {

namespace {

wxString U8(const char* s) {
    return wxString::FromUTF8(s);
}

}  // namespace

UnitTexts UnitTextsFor(int unitSystem, int flowUnit, int pressureUnit) {
    UnitTexts t;
    if (unitSystem != units::UnitSystemMetric || flowUnit == units::FlowGallonsPerMinute) {
        t.flow = U8("G/min");
        t.volume = U8("G");
    } else if (flowUnit == units::FlowLitresPerSecond) {
        t.flow = U8("L/s");
        t.volume = U8("L");
    } else if (flowUnit == units::FlowCubicMetresPerHour) {
        t.flow = U8("M³/h");
        t.volume = U8("M³");
    } else {
        t.flow = U8("L/min");
        t.volume = U8("L");
    }
    switch (pressureUnit) {
        case units::PressureBar:
            t.pressure = U8("Bar");
            break;
        case units::PressurePsi:
            t.pressure = U8("psi");
            break;
        case units::PressureMetresOfWater:
            t.pressure = U8("MtrH");
            break;
        case units::PressureKiloPascal:
            t.pressure = U8("KPa");
            break;
        default:
            break;
    }
    return t;
}

wxString DefaultFileName(const wxString& dateText) {
    wxString name = dateText;
    for (auto it = name.begin(); it != name.end(); ++it) {
        const wxUniChar c = *it;
        if (c == ':' || c == '/' || c == '.' || c == ',' || c == '\'')
            *it = '_';
    }
    return name;
}

wxString PathWithExtension(const wxString& chosen) {
    const wxString ext = wxString::FromAscii(".csv");
    return chosen.Contains(ext) ? chosen : chosen + ext;
}

bool Write(std::ostream& out, const Storage& rec, const wxString& path, std::size_t first, std::size_t end) {
    using filetext::ToLatin1Line;
    const UnitTexts u = UnitTextsFor(rec.UnitSystem(), rec.FlowUnit(), rec.PressureUnit());
    std::string head;
    head += "File Name," + ToLatin1Line(path) + "\n";
    head += "Title," + ToLatin1Line(rec.Title()) + " " + ToLatin1Line(rec.DateText()) + "\n";
    head += "Information," + ToLatin1Line(rec.Subtitle()) + "\n";
    head += "Flow Measurement,," + ToLatin1Line(u.flow) + "\n";
    head += "Pressure Measurement,," + ToLatin1Line(u.pressure) + "\n";
    head += "Zeit (s), Durchfluss (" + ToLatin1Line(u.flow) + "), Volumen (" + ToLatin1Line(u.volume) +
            "), Druck (" + ToLatin1Line(u.pressure) + ")\n";
    out.write(head.data(), static_cast<std::streamsize>(head.size()));

    const std::size_t n = std::min(end, rec.Times().size());
    const float* t = rec.Times().data();
    const float* f = rec.Flows().data();
    const float* p = rec.Pressures().data();
    const float* v = rec.Volumes().data();
    constexpr std::size_t kLine = 4 * (filetext::FixedBufferSize + 1);
    std::vector<char> buf(1 << 16);
    std::size_t used = 0;
    for (std::size_t i = first; i < n && out; ++i) {
        if (used + kLine > buf.size()) {
            out.write(buf.data(), static_cast<std::streamsize>(used));
            used = 0;
        }
        char* o = buf.data() + used;
        o = filetext::FormatFixed(o, t[i], 2);
        *o++ = ',';
        o = filetext::FormatFixed(o, f[i], 2);
        *o++ = ',';
        o = filetext::FormatFixed(o, v[i], 2);
        *o++ = ',';
        o = filetext::FormatFixed(o, p[i], 2);
        *o++ = '\n';
        used = static_cast<std::size_t>(o - buf.data());
    }
    out.write(buf.data(), static_cast<std::streamsize>(used));
    return out.good();
}

SaveResult Save(const wxString& path, const Storage& rec, std::size_t first, std::size_t end) {
    return SaveFileSafely(path, [&](std::ostream& out) { return Write(out, rec, path, first, end); });
}

}  // namespace csvexport
