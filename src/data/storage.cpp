#include "data/storage.h"

#include "data/units.h"

#include <cmath>

wxDateTime ParseRecordDate(const wxString& dateText) {
    wxDateTime t;
    wxString::const_iterator end;
    // Day first: the logger and the live start text both write day/month/year; the general
    // parser would read 5/03/2023 as the 3rd of May in some locales.
    if (t.ParseFormat(dateText, wxString::FromAscii("%d/%m/%Y %H:%M:%S"), &end) && end == dateText.end())
        return t;
    t = wxDateTime();
    if (t.ParseDateTime(dateText, &end))
        return t;
    return wxDateTime();
}

wxString RecordDateText(const wxDateTime& moment) {
    return moment.Format(wxString::FromAscii("%d/%m/%Y %H:%M:%S"));
}

Storage::Storage(const wxString& dateText_, int intervalMs_, int unitSystem_, bool spareFlag_, int flowUnit_,
                 int number)
    : startTime(ParseRecordDate(dateText_)),
      flowUnit(flowUnit_),
      title(wxString::Format(wxString::FromAscii("%d"), number)),
      spareFlag(spareFlag_ ? 1 : 0),
      unitSystem(unitSystem_),
      intervalMs(intervalMs_),
      dateText(dateText_) {}

void Storage::SetPressureCalibration(std::uint8_t offset, std::uint8_t gainWhole, std::uint8_t gainHundredths,
                                     std::uint8_t unitCode) {
    pressureOffset = offset;
    pressureGainWhole = gainWhole;
    pressureGainHundredths = gainHundredths;
    pressureUnit = unitCode;
}

void Storage::AddRawSample(int rawFlow, int rawPressure) {
    // A US logger already delivers US gallons per minute, and its records are labelled in gallons
    // whatever the flow unit setting: its flows and volumes stay as delivered.
    const int conversion = unitSystem == units::UnitSystemMetric ? flowUnit : units::FlowLitresPerMinute;
    ++sampleCounter;
    const float time = static_cast<float>(static_cast<double>(sampleCounter) * intervalMs / 1000.0);
    const float flow = static_cast<float>(units::ConvertFlow(rawFlow, conversion));

    int counts = rawPressure - pressureOffset;
    if (counts < 5)
        counts = 0;
    float gain = static_cast<float>(pressureGainWhole + pressureGainHundredths / 100.0);
    float psi = 0.0f;
    // A logger without calibration (gain 0) must not put infinities into the record.
    if (gain != 0.0f)
        psi = static_cast<float>(counts / gain);
    const float pressure = static_cast<float>(units::ConvertPressureFromPsi(psi, pressureUnit));

    volumeTotal = static_cast<float>(volumeTotal + units::VolumeIncrement(rawFlow, intervalMs, conversion));
    Append(time, flow, pressure, volumeTotal);
}

void Storage::AddSample(float time, float flow, float pressure, float volume) {
    float v = 0.0f;
    switch (flowUnit) {
        case 2:
            v = volume / 1000.0f;
            break;
        case 0:
        case 1:
        case 3:
            v = volume;
            break;
        default:
            v = 0.0f;
            break;
    }
    Append(time, static_cast<float>(units::ConvertFlow(flow, flowUnit)), pressure, v);
}

void Storage::Append(float time, float flow, float pressure, float volume) {
    times.push_back(time);
    flows.push_back(flow);
    pressures.push_back(pressure);
    volumes.push_back(volume);
    if (!filtered)
        return;
    // The restore must give back every sample, also those that came while the filter was on.
    savedFlows.push_back(flow);
    savedPressures.push_back(pressure);
    savedVolumes.push_back(volume);
    // The sample halfWidth places back now has all its neighbours: it takes its average, with the
    // samples before it averaged and those after it not yet, as one pass over the whole series
    // would give it.
    const long i = SampleCount() - 1L - filterHalfWidth;
    if (i >= filterHalfWidth)
        AverageAt(i);
}

void Storage::AverageAt(long i) {
    const long n = filterHalfWidth;
    double sf = 0, sv = 0, sp = 0;
    for (long k = i - n; k <= i + n; ++k) {
        sf += flows[k];
        sv += volumes[k];
        sp += pressures[k];
    }
    const long width = 2L * n + 1;
    flows[i] = static_cast<float>(sf / width);
    volumes[i] = static_cast<float>(sv / width);
    pressures[i] = static_cast<float>(sp / width);
}

Storage::Sample Storage::GetSample(int i) const {
    return Sample{times[i], flows[i], pressures[i], volumes[i]};
}

Storage::Sample Storage::GetLastSample() const {
    return GetSample(SampleCount() - 1);
}

float Storage::LastVolume() const {
    return volumes.empty() ? 0.0f : volumes.back();
}

void Storage::Reserve(std::size_t n) {
    times.reserve(n);
    flows.reserve(n);
    pressures.reserve(n);
    volumes.reserve(n);
}

void Storage::SetFilter(bool on, int n) {
    if (on && !filtered) {
        savedFlows = flows;
        savedVolumes = volumes;
        savedPressures = pressures;
        // A negative width would read outside the series; it averages nothing.
        filterHalfWidth = n < 0 ? 0 : n;
        const long count = SampleCount();
        // The sums read the series as they are being rewritten: values below i are averaged ones.
        for (long i = n; n >= 0 && i < count - n; ++i)
            AverageAt(i);
        filtered = true;
    } else if (!on && filtered) {
        flows = savedFlows;
        volumes = savedVolumes;
        pressures = savedPressures;
        savedFlows.clear();
        savedVolumes.clear();
        savedPressures.clear();
        filtered = false;
    }
}

std::vector<float> Storage::TargetLineValues() const {
    if (times.empty())
        return {};
    return {targetFlow, targetFlow, targetFlow};
}

std::vector<float> Storage::TargetLineTimes() const {
    if (times.empty())
        return {};
    return {times.front(), times.back(), times.back()};
}
