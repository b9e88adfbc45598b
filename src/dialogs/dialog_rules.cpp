#include "dialogs/dialog_rules.h"
#include "data/translate.h"

#include <climits>

namespace dialogrules {

namespace {

bool IsBlank(wxUniChar c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(wxUniChar c) {
    return c >= '0' && c <= '9';
}

int DaysInMonth(int month, int year) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

int StepInterval(int tenths, int step) {
    if (step > 0 && tenths >= MinIntervalTenths && tenths < MaxIntervalTenths)
        return tenths + 1;
    if (step < 0 && tenths > MinIntervalTenths && tenths <= MaxIntervalTenths)
        return tenths - 1;
    return tenths;
}

wxString FormatInterval(int tenths) {
    return wxString::Format(wxString::FromUTF8("%.1f"), tenths / 10.0);
}

std::optional<std::uint8_t> StepClockRegister(std::uint8_t bcd, int step, int maxValue) {
    std::optional<int> v = BcdValue(bcd);
    if (!v || *v > maxValue)
        return std::nullopt;
    int span = maxValue + 1;
    int next = ((*v + step) % span + span) % span;
    return ToBcd(next);
}

wxString FormatClockField(std::uint8_t bcd, bool leadingZero) {
    if (leadingZero && bcd < 0x10)
        return wxString::Format(wxString::FromUTF8("0%x"), static_cast<unsigned>(bcd));
    return wxString::Format(wxString::FromUTF8("%x"), static_cast<unsigned>(bcd));
}

std::optional<CivilDate> DateFromClock(std::uint8_t day, std::uint8_t month, std::uint8_t year) {
    std::optional<int> d = BcdValue(day), m = BcdValue(month), y = BcdValue(year);
    if (!d || !m || !y || *m < 1 || *m > 12)
        return std::nullopt;
    CivilDate date{*d, *m, 2000 + *y};
    if (date.day < 1 || date.day > DaysInMonth(date.month, date.year))
        return std::nullopt;
    return date;
}

std::optional<std::array<std::uint8_t, 3>> ClockDateRegisters(const CivilDate& date) {
    if (date.year < 2000 || date.year > 2099 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > 31)
        return std::nullopt;
    return std::array<std::uint8_t, 3>{ToBcd(date.day), ToBcd(date.month), ToBcd(date.year - 2000)};
}

int DelaySeconds(int tenths, int samples) {
    return static_cast<int>(static_cast<long long>(tenths) * samples / 10);
}

std::uint16_t DelaySamples(unsigned seconds, int tenths) {
    if (tenths < 1)
        tenths = 1;
    unsigned long long samples =
        static_cast<unsigned long long>(seconds) * 10 / static_cast<unsigned>(tenths);
    return static_cast<std::uint16_t>(samples > 0xFFFF ? 0xFFFF : samples);
}

std::optional<std::uint16_t> ReadThresholdField(const wxString& text) {
    size_t begin = 0, end = text.length();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;
    unsigned long value = 0;
    for (size_t i = begin; i < end; ++i) {
        if (!IsDigit(text[i]))
            return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(text[i].GetValue() - '0');
        if (value > 0xFFFF)
            return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

ThresholdPlan PlanThresholds(const ThresholdFields& fields, int intervalTenths) {
    ThresholdPlan plan;
    const wxString* texts[4] = {&fields.flowOn, &fields.flowOff, &fields.delayOn, &fields.delayOff};
    std::uint16_t values[4] = {};
    for (int i = 0; i < 4; ++i) {
        std::optional<std::uint16_t> v = ReadThresholdField(*texts[i]);
        if (!v) {
            plan.boxes.push_back({Tr("Wert neu eintippen"), *texts[i]});
            return plan;
        }
        values[i] = *v;
    }
    plan.flowOn = values[0];
    plan.flowOff = values[1];
    unsigned delayOn = values[2], delayOff = values[3];
    const wxString message = Tr("Message");

    if (plan.flowOn > 2000)
        plan.boxes.push_back({Tr("Achtung zu hohe Grenzwerte!"), message});
    if (plan.flowOff > 2000)
        plan.boxes.push_back({Tr("Achtung zu hohe Grenzwerte!"), message});
    if (plan.flowOff > plan.flowOn) {
        plan.boxes.push_back({Tr("Startwert für den Datenlogger muss größer sein als der Endwert"), message});
        return plan;
    }
    unsigned shortest = static_cast<unsigned>(intervalTenths / 10);
    if (delayOff < shortest || delayOn < shortest) {
        plan.boxes.push_back(
            {Tr("Abtastrate muss verringert werden und diese Verzögerungseinstellung zu erreichen"),
             message});
        return plan;
    }
    plan.delayOnSamples = DelaySamples(delayOn, intervalTenths);
    plan.delayOffSamples = DelaySamples(delayOff, intervalTenths);
    if (plan.delayOnSamples > 4000)
        plan.boxes.push_back({Tr("Achtung zu hohe Verzögerungsgrenzwerte"), message});
    if (plan.delayOffSamples > 4000)
        plan.boxes.push_back({Tr("Achtung zu hohe Verzögerungsgrenzwerte"), message});
    plan.delayOnSeconds = DelaySeconds(intervalTenths, plan.delayOnSamples);
    plan.delayOffSeconds = DelaySeconds(intervalTenths, plan.delayOffSamples);
    plan.write = true;
    return plan;
}

wxString DeviceInfoText(int serialNumber, int firmwareWord) {
    double version = ((firmwareWord >> 8) & 0xFF) + (firmwareWord & 0xFF) / 10.0;
    return wxString::Format(Tr("Geräteeinstellungen     Serial No: %d"), serialNumber) +
           wxString::Format(Tr("Firmware Version: %.1f"), version);
}

unsigned long LeadingNumber(const wxString& text) {
    size_t i = 0, n = text.length();
    while (i < n && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned long value = 0;
    for (; i < n && IsDigit(text[i]); ++i) {
        unsigned long digit = static_cast<unsigned long>(text[i].GetValue() - '0');
        if (value > (ULONG_MAX - digit) / 10)
            return ULONG_MAX;
        value = value * 10 + digit;
    }
    return negative && value != 0 ? ULONG_MAX : value;
}

ServicePlan PlanMedianAndClamp(const wxString& medianText, const wxString& clampText) {
    ServicePlan plan;
    plan.first = LeadingNumber(medianText);
    if (plan.first > 20) {
        plan.messages.push_back(Tr("Too big!"));
        return plan;
    }
    plan.second = LeadingNumber(clampText);
    if (plan.second > 250) {
        plan.messages.push_back(Tr("Clamp very big. Not setting it"));
        return plan;
    }
    plan.messages.push_back(wxString::Format(Tr("Setting median crop to %d"), static_cast<int>(plan.first)));
    plan.messages.push_back(wxString::Format(Tr("Setting clamp  to %d"), static_cast<int>(plan.second)));
    plan.send = true;
    return plan;
}

ServicePlan PlanPressureCalibration(const wxString& zeroText, const wxString& fineText,
                                    const wxString& roughText) {
    ServicePlan plan;
    plan.first = LeadingNumber(zeroText);
    if (plan.first > 200) {
        plan.messages.push_back(Tr("Zero pt too big!"));
        return plan;
    }
    plan.second = LeadingNumber(fineText);
    if (plan.second == 0 || plan.second > 255) {
        plan.messages.push_back(Tr("Fine adjustment values outside range"));
        return plan;
    }
    plan.third = LeadingNumber(roughText);
    if (plan.third > 255) {
        plan.messages.push_back(Tr("Rough adjustment values outside range"));
        return plan;
    }
    plan.messages.push_back(
        wxString::Format(Tr("Setting Zero pressure pt to %d"), static_cast<int>(plan.first)));
    plan.messages.push_back(
        wxString::Format(Tr("Setting fine adjustment scale to %d"), static_cast<int>(plan.second)));
    plan.messages.push_back(
        wxString::Format(Tr("Setting rough adjustment scale to %d"), static_cast<int>(plan.third)));
    plan.send = true;
    return plan;
}

wxString SettingsDump(int firmwareWord, const std::optional<SettingsBlock>& block,
                      const std::optional<ClockRegisters>& clock,
                      const std::optional<std::array<std::uint8_t, 2>>& clockConfig) {
    wxString out = wxString::Format(Tr("Firmware Version: \t %x\n"), static_cast<unsigned>(firmwareWord));
    if (!block)
        return out;
    const SettingsBlock& b = *block;
    out += wxString::Format(Tr("Sample Rate \t %x -> %d\n"), static_cast<unsigned>(b.sampleRateRegister),
                            IntervalTenthsFromRegister(b.sampleRateRegister));
    out += wxString::Format(Tr("File Count \t %x\n"), static_cast<unsigned>(b.eventCount));
    out += wxString::Format(Tr("State   \t \t %x\n"), static_cast<unsigned>(b.stateFlags));
    out += wxString::Format(Tr("Flow On    \t %d \n"), static_cast<int>(b.flowOnThreshold));
    out += wxString::Format(Tr("Delay On    \t %d \n"), static_cast<int>(b.flowOnDelay));
    out += wxString::Format(Tr("Flow Off   \t %d \n"), static_cast<int>(b.flowOffThreshold));
    out += wxString::Format(Tr("Delay Off \t %d \n"), static_cast<int>(b.flowOffDelay));
    out += wxString::Format(Tr("Pressure Unit \t %d "), static_cast<int>(b.pressureUnit));
    if (b.pressureUnit == 112)
        out += Tr("PSI\n");
    else if (b.pressureUnit == 98)
        out += Tr("BAR\n");
    out += wxString::Format(Tr("Pressure Scale \t %d \n"), static_cast<int>(b.pressureScale));
    out += wxString::Format(Tr("Pressure Zero \t %d \n"), static_cast<int>(b.pressureZero));
    out += wxString::Format(Tr("Filter Median \t %d \n"), static_cast<int>(b.filterMedian));
    out += wxString::Format(Tr("Flow Clamp \t %d \n"), static_cast<int>(b.flowClamp));
    out += wxString::Format(Tr("Display Alternation \t %d \n"), static_cast<int>(b.displayAlternation));
    out += wxString::Format(Tr("Volume Range \t %d \n"), static_cast<int>(b.volumeRange));
    if (b.isLong) {
        out += wxString::Format(Tr("Serial no. \t %d \n"), static_cast<int>(b.serialNumber));
        out += wxString::Format(Tr("Manufacture \t %x:%x:%x \n"), static_cast<unsigned>(b.manufactureDate[0]),
                                static_cast<unsigned>(b.manufactureDate[1]),
                                static_cast<unsigned>(b.manufactureDate[2]));
    }
    if (clock) {
        const ClockRegisters& c = *clock;
        out += wxString::Format(Tr("\nRTC Current Time: \t %x:%x:%x  %x:%x:%x \n"),
                                static_cast<unsigned>(c.hours), static_cast<unsigned>(c.minutes),
                                static_cast<unsigned>(c.seconds), static_cast<unsigned>(c.day),
                                static_cast<unsigned>(c.month), static_cast<unsigned>(c.year));
    }
    if (clockConfig) {
        out += wxString::Format(Tr("Clock Configure \t %x %x \n"), static_cast<unsigned>((*clockConfig)[0]),
                                static_cast<unsigned>((*clockConfig)[1]));
    }
    return out;
}

}  // namespace dialogrules
