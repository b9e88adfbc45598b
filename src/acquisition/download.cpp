// Download of the logger's recorded events, and clearing its memory.
#include "acquisition/download_plan.h"
#include "acquisition/progress.h"
#include "app/app_settings.h"
#include "data/translate.h"
#include "device/protocol.h"
#include "device/vext_usb.h"
#include "mainframe/main_frame.h"

#include <wx/log.h>
#include <wx/msgdlg.h>

#include <optional>
#include <vector>

namespace {

// What the download read off the logger, before any record is made.
struct LoggerContent {
    int firmwareWord = 0;
    SettingsBlock block;
    std::uint32_t blockLength = 0;
    std::vector<EventEntry> entries;  // newest first
    std::vector<download::EventSpan> spans;
    std::vector<std::uint8_t> samples;  // memory from the block's end to the intact events' end
};

// Steps 1-2: the firmware word and the settings block. Without the firmware word the block
// length is a guess: a long block read as a short one would shift every sample by twenty bytes,
// so a logger that does not tell its firmware is a failed read.
bool ReadSettingsBlock(VextUSB& usb, LoggerContent& c) {
    const std::uint8_t* fw = usb.ReadFirmwareVersion();
    c.firmwareWord = fw ? FirmwareWord(fw) : 0;
    if (!fw)
        return false;
    c.blockLength = static_cast<std::uint32_t>(SettingsBlockLength(c.firmwareWord));
    std::vector<std::uint8_t> raw(c.blockLength);
    if (!usb.ReadMemory(0, c.blockLength, raw.data()))
        return false;
    c.block = DecodeSettingsBlock(raw.data(), raw.size());
    return true;
}

enum class Read { Done, Failed, Impossible };

// Step 6: the directory, and from it where each event's samples lie. Only a count that cannot fit
// refuses the download; a damaged entry costs its own event only.
Read ReadDirectory(VextUSB& usb, LoggerContent& c) {
    const std::uint32_t g = c.block.eventCount;
    const std::optional<std::uint32_t> directoryStart = download::DirectoryStart(g, c.blockLength);
    if (!directoryStart)
        return Read::Impossible;
    std::vector<std::uint8_t> directory(static_cast<std::size_t>(logger::EventEntryLength) * g);
    if (!usb.ReadMemory(*directoryStart, static_cast<std::uint32_t>(directory.size()), directory.data()))
        return Read::Failed;
    for (std::uint32_t i = 0; i < g; ++i)
        c.entries.push_back(DecodeEventEntry(&directory[logger::EventEntryLength * i]));
    c.spans = download::PlanSpans(c.entries, c.blockLength, *directoryStart);
    return Read::Done;
}

// Step 7: the whole sample area of the intact events in one read.
bool ReadSamples(VextUSB& usb, LoggerContent& c) {
    c.samples.resize(download::SampleAreaEnd(c.spans, c.blockLength) - c.blockLength);
    return c.samples.empty() ||
           usb.ReadMemory(c.blockLength, static_cast<std::uint32_t>(c.samples.size()), c.samples.data());
}

// Steps 8-9: one record per event, newest first, each with the samples of its span.
std::vector<Storage> MakeRecords(const LoggerContent& c, int flowUnit, ProgressIndicator& progress) {
    const std::size_t g = c.entries.size();
    const int intervalMs = IntervalMsFromRegister(c.block.sampleRateRegister);
    std::vector<Storage> records;
    records.reserve(g);
    for (std::size_t i = 0; i < g; ++i) {
        Storage record(FormatEventDate(c.entries[i]), intervalMs, c.block.UnitSystem(), false, flowUnit,
                       static_cast<int>(i + 1));
        record.SetPressureCalibration(c.block.pressureZero, c.block.pressureScale, c.block.pressureScaleFine,
                                      c.block.pressureUnit);
        // Record names are what the job file holds: the same whatever the language.
        record.SetTitle(wxString::Format(wxString::FromUTF8("Speicher %u"), static_cast<unsigned>(g - i)));
        record.SetSerialNumber(c.block.isLong ? c.block.serialNumber : 0);
        record.SetEventBytes(static_cast<int>(c.entries[i].endAddress));
        records.push_back(std::move(record));
        progress.Pulse();
    }
    for (std::size_t i = g; i-- > 0;) {
        const download::EventSpan& span = c.spans[i];
        const std::uint32_t n = span.SampleCount();
        Storage& record = records[i];
        record.Reserve(n);
        for (std::uint32_t k = 0; k < n; ++k) {
            const RawSample s =
                DecodeRawSample(&c.samples[span.start - c.blockLength + logger::SampleLength * k]);
            record.AddRawSample(s.flow, s.pressure);
        }
        progress.Pulse();
    }
    return records;
}

}  // namespace

void MainFrame::OnUpload(wxCommandEvent&) {
    if (!ConfirmDiscardUnsaved())
        return;

    LoggerContent content;
    const bool blockRead = ReadSettingsBlock(*usbLink, content);
    AppSettings.firmwareVersion = content.firmwareWord;
    if (!blockRead) {
        ReportUsbFailure(*usbLink);
        return;
    }
    // 3: what the program learns from every reading of the block.
    RefreshSettingsFromBlock(AppSettings, content.block, AppSettings.firmwareVersion);
    SyncFlowUnitItems();

    // 4: the progress window. It is closed before any question or message of the download: a
    // progress window left open stays on top of them and hides their text.
    std::unique_ptr<ProgressIndicator> progress = progressFactory();
    if (content.block.eventCount > 0) {
        const Read directory = ReadDirectory(*usbLink, content);
        if (directory != Read::Done) {
            progress.reset();
            if (directory == Read::Impossible)
                wxLogError(Tr("Lesen fehlgeschlagen: Ereignisverzeichnis des Geräts ungültig (%u Einträge)"),
                           static_cast<unsigned>(content.block.eventCount));
            else
                ReportUsbFailure(*usbLink);
            return;
        }
        progress->Pulse();
        if (!ReadSamples(*usbLink, content)) {
            progress.reset();
            ReportUsbFailure(*usbLink);
            return;
        }
    }
    std::vector<Storage> downloaded = MakeRecords(content, AppSettings.flowUnit, *progress);
    ClearRecords();
    for (Storage& record : downloaded)
        AppendRecord(std::move(record));

    // 10-12: list, what could not be read, the save question, and the clear offer only after a
    // real save of a memory read whole: what could not be read stays on the instrument.
    progress.reset();
    RefreshRecordList();
    savedFlag = false;
    const wxString damage = download::DamageReport(content.spans);
    if (!damage.empty()) {
        wxMessageDialog told(this, damage, Tr("Message"), wxOK | wxICON_WARNING);
        told.ShowModal();
    }
    wxMessageDialog ask(nullptr, Tr("Save files to computer drive?"), Tr("Save new data?"),
                        wxYES_NO | wxICON_INFORMATION);
    if (ask.ShowModal() == wxID_YES)
        SaveJobAs();
    if (savedFlag && damage.empty())
        ClearDeviceMemory();
}

void MainFrame::OnClearDevice(wxCommandEvent&) {
    ClearDeviceMemory();
}

void MainFrame::ClearDeviceMemory() {
    wxMessageDialog ask(this, Tr("Wählen Sie 'OK' um alle gespeicherten Daten auf dem Gerät zu löschen"),
                        Tr("Achtung: Daten werden gelöscht"), wxOK | wxCANCEL);
    if (ask.ShowModal() != wxID_OK)
        return;
    if (!usbLink->ClearMemory())
        ReportUsbFailure(*usbLink);
}
