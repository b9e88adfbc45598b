#pragma once

#include <wx/string.h>

#include <cstdint>

// Texts of the record list's columns.
namespace recordlist {

// The date text up to its first blank, and what follows it (empty without a blank).
wxString DatePart(const wxString& dateText);
wxString TimePart(const wxString& dateText);
// Duration of sampleCount samples at intervalMs as a clock: "%M:%S" below an hour, otherwise
// "%H:%M:%S" with the hours as they are (past 24 too).
wxString FormatDuration(std::int64_t sampleCount, std::int64_t intervalMs);
wxString FormatVolume(float volume);

}  // namespace recordlist
