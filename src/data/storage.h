#pragma once

#include <wx/datetime.h>
#include <wx/string.h>

#include "data/sample_vector.h"

#include <cstdint>
#include <vector>

// One measurement record: texts, start time, the logger settings in force, and four parallel
// series (time in seconds, flow, pressure, accumulated volume) in the record's units.
// A value type: copies are deep and independent.
class Storage {
public:
    Storage(const wxString& dateText, int intervalMs, int unitSystem, bool spareFlag, int flowUnit,
            int number);
    virtual ~Storage() = default;
    Storage(const Storage&) = default;
    Storage& operator=(const Storage&) = default;
    // Moving never throws (the toolkit's strings do not say so themselves): the record set moves
    // its records when it grows instead of copying every sample.
    Storage(Storage&&) noexcept = default;
    Storage& operator=(Storage&&) noexcept = default;

    struct Sample {
        float time = 0, flow = 0, pressure = 0, volume = 0;
    };

    void SetPressureCalibration(std::uint8_t offset, std::uint8_t gainWhole, std::uint8_t gainHundredths,
                                std::uint8_t unitCode);
    // Appends a sample from logger readings: raw flow in the logger's own unit, raw pressure
    // as converter counts.
    void AddRawSample(int rawFlow, int rawPressure);
    // Appends a sample in engineering values (job files).
    void AddSample(float time, float flow, float pressure, float volume);

    Sample GetSample(int index) const;
    Sample GetLastSample() const;  // at least one sample must exist
    float LastVolume() const;
    int SampleCount() const { return static_cast<int>(times.size()); }
    void Reserve(std::size_t n);

    // Centred moving average over 2 * halfWidth + 1 samples, in place; off restores. Samples
    // added while the filter is on are kept unfiltered for the restore and averaged in as their
    // neighbours arrive, exactly as filtering the whole series at once would.
    void SetFilter(bool on, int halfWidth);
    bool IsFiltered() const { return filtered; }
    // Samples averaged on either side while filtered; 0 unfiltered.
    int FilterHalfWidth() const { return filtered ? filterHalfWidth : 0; }

    bool HasTargetFlow() const { return targetFlow != 0.0f; }
    std::vector<float> TargetLineValues() const;
    std::vector<float> TargetLineTimes() const;

    const wxString& Title() const { return title; }
    void SetTitle(const wxString& t) { title = t; }
    const wxString& DateText() const { return dateText; }
    const wxDateTime& StartTime() const { return startTime; }
    const wxString& Subtitle() const { return subtitle; }
    void SetSubtitle(const wxString& s) { subtitle = s; }
    const wxString& NoteText() const { return noteText; }
    void SetNoteText(const wxString& t) { noteText = t; }
    int NoteX() const { return noteX; }
    int NoteY() const { return noteY; }
    void SetNotePosition(int x, int y) {
        noteX = x;
        noteY = y;
    }
    int SerialNumber() const { return serialNumber; }
    void SetSerialNumber(int n) { serialNumber = n; }
    float TargetFlow() const { return targetFlow; }
    void SetTargetFlow(float f) { targetFlow = f; }
    int EventBytes() const { return eventBytes; }
    void SetEventBytes(int b) { eventBytes = b; }
    int IntervalMs() const { return intervalMs; }
    int UnitSystem() const { return unitSystem; }
    bool SpareFlag() const { return spareFlag != 0; }
    // The flow unit the record's values are in: the one it was made with, or the one its file
    // names. The flow unit setting decides only for the records made next.
    int FlowUnit() const { return flowUnit; }
    // For a record read from a file: its values, added unchanged, are in this unit.
    void SetFlowUnit(int unit) { flowUnit = unit; }
    int PressureUnit() const { return pressureUnit; }
    void SetPressureUnit(std::uint8_t code) { pressureUnit = code; }

    const std::vector<float>& Times() const { return times; }
    const std::vector<float>& Flows() const { return flows; }
    const std::vector<float>& Pressures() const { return pressures; }
    const std::vector<float>& Volumes() const { return volumes; }
    // The values as measured, also while the filter shows them smoothed.
    const std::vector<float>& MeasuredFlows() const { return filtered ? savedFlows : flows.Get(); }
    const std::vector<float>& MeasuredPressures() const {
        return filtered ? savedPressures : pressures.Get();
    }
    const std::vector<float>& MeasuredVolumes() const { return filtered ? savedVolumes : volumes.Get(); }
    // The same series for a chart that reads them where they lie (see SampleVector).
    SampleVector::Ref SharedTimes() const { return times.Shared(); }
    SampleVector::Ref SharedFlows() const { return flows.Shared(); }
    SampleVector::Ref SharedPressures() const { return pressures.Shared(); }
    SampleVector::Ref SharedVolumes() const { return volumes.Shared(); }

private:
    void Append(float time, float flow, float pressure, float volume);
    void AverageAt(long i);

    wxDateTime startTime;
    std::int32_t flowUnit;
    wxString subtitle;
    wxString noteText;
    std::int32_t noteX = 0, noteY = 0;
    std::uint8_t pressureOffset = 0;
    std::uint8_t pressureGainWhole = 0;
    std::uint8_t pressureGainHundredths = 0;
    std::uint8_t pressureUnit = 0;
    wxString title;
    std::int32_t eventBytes = 0;
    bool filtered = false;
    std::int32_t filterHalfWidth = 0;  // while filtered
    SampleVector times, flows, pressures, volumes;
    std::vector<float> savedFlows, savedPressures, savedVolumes;
    float volumeTotal = 0.0f;
    std::int32_t sampleCounter = 0;
    std::uint8_t spareFlag;
    std::int32_t unitSystem;
    std::int32_t intervalMs;
    wxString dateText;
    std::int32_t serialNumber = 0;
    float targetFlow = 0.0f;
};

// Parses "dd/mm/yyyy HH:MM:SS" (the form every creator writes, day first); other texts go to
// the general parser. Invalid when nothing parses.
wxDateTime ParseRecordDate(const wxString& dateText);
// A record's start text for a moment, day first, in the computer's local time: the logger's
// events carry its clock, which the settings dialog sets from this computer's local time.
wxString RecordDateText(const wxDateTime& moment);
