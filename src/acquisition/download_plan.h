#pragma once

// Where each recorded event's samples lie in the logger's memory, worked out from the settings
// block and the event directory before any sample is read. Window-free.

#include "device/protocol.h"

#include <wx/string.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace download {

// The event directory's first (lowest) byte for `eventCount` entries below the top of memory, or
// nothing when that many entries cannot fit above a block of `blockLength` bytes: such a count
// is not a directory at all.
std::optional<std::uint32_t> DirectoryStart(std::uint32_t eventCount, std::uint32_t blockLength);

// The samples of one event: bytes [start, end) of memory. A damaged entry keeps none.
struct EventSpan {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    bool damaged = false;  // its end address cannot be true
    std::uint32_t SampleCount() const { return (end - start) / logger::SampleLength; }
};

// The spans of the directory's entries (index 0 the newest), taken entry by entry: an event's
// samples start where the next older intact event's end and stop at its own end. An end address
// below that start, below the settings block, beyond the directory (the newest event's may reach
// a few bytes into it when the logger filled its memory: it is taken up to the directory) or
// beyond memory damages only its own entry; it never moves the next event's start.
std::vector<EventSpan> PlanSpans(const std::vector<EventEntry>& entries, std::uint32_t blockLength,
                                 std::uint32_t directoryStart);

// Where the intact events' samples end: the sample area to read is [blockLength, this).
std::uint32_t SampleAreaEnd(const std::vector<EventSpan>& spans, std::uint32_t blockLength);

// The message after a download with damaged entries, naming them by their record titles
// ("Speicher N") and saying where their samples went; empty when every entry is intact.
wxString DamageReport(const std::vector<EventSpan>& spans);

}  // namespace download
