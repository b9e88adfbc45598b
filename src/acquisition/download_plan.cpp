#include "acquisition/download_plan.h"
#include "data/translate.h"

#include <algorithm>

namespace download {

namespace {

// The name the downloaded record gets, which messages use to point at it. Names are what the job
// file holds: they stay as the logger's memory numbers them whatever the language.
wxString RecordTitle(std::size_t index, std::size_t count) {
    return wxString::Format(wxString::FromUTF8("Speicher %u"), static_cast<unsigned>(count - index));
}

}  // namespace

std::optional<std::uint32_t> DirectoryStart(std::uint32_t eventCount, std::uint32_t blockLength) {
    const std::uint64_t bytes = static_cast<std::uint64_t>(logger::EventEntryLength) * eventCount;
    if (bytes > logger::MemoryTop - blockLength)
        return std::nullopt;
    return logger::MemoryTop - static_cast<std::uint32_t>(bytes);
}

std::vector<EventSpan> PlanSpans(const std::vector<EventEntry>& entries, std::uint32_t blockLength,
                                 std::uint32_t directoryStart) {
    std::vector<EventSpan> spans(entries.size());
    std::uint32_t start = blockLength;
    for (std::size_t k = entries.size(); k-- > 0;) {
        std::uint32_t end = entries[k].endAddress;
        // The newest event may have run until the memory was full: what lies beyond the
        // directory's start is the directory, not samples.
        if (k == 0 && end > directoryStart && end <= logger::MemorySize)
            end = directoryStart;
        EventSpan& span = spans[k];
        if (end < start || end > directoryStart) {
            span = {start, start, true};
            continue;  // the next event starts where the last intact one ended
        }
        span = {start, end, false};
        start = end;
    }
    return spans;
}

std::uint32_t SampleAreaEnd(const std::vector<EventSpan>& spans, std::uint32_t blockLength) {
    std::uint32_t end = blockLength;
    for (const EventSpan& s : spans)
        end = std::max(end, s.end);
    return end;
}

wxString DamageReport(const std::vector<EventSpan>& spans) {
    wxString lines;
    for (std::size_t k = spans.size(); k-- > 0;) {
        if (!spans[k].damaged)
            continue;
        lines += RecordTitle(k, spans.size()) + Tr(": Endadresse ungültig, keine Messwerte");
        // Its samples lie in front of the next newer intact event's, which starts where the last
        // intact one before the damage ended.
        std::size_t next = k;
        while (next-- > 0 && spans[next].damaged) {
        }
        if (next < spans.size() && spans[next].SampleCount() > 0)
            lines +=
                Tr(" (sie stehen vor denen von ") + RecordTitle(next, spans.size()) + wxString::FromUTF8(")");
        lines += wxString::FromUTF8("\n");
    }
    if (lines.empty())
        return lines;
    return Tr("Das Ereignisverzeichnis des Geräts ist beschädigt.\n") + lines +
           Tr("Alle anderen Messungen sind vollständig. Die Daten bleiben auf dem Gerät: es wird nicht "
              "angeboten, den Gerätespeicher zu löschen.");
}

}  // namespace download
