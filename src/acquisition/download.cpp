// Download of the logger's recorded events, and clearing its memory.
#include "acquisition/progress.h"
#include "app/app_settings.h"
#include "device/protocol.h"
#include "device/vext_usb.h"
#include "mainframe/main_frame.h"

#include <wx/log.h>
#include <wx/msgdlg.h>

#include <algorithm>
#include <vector>

namespace {

wxString U(const char* text) {
    return wxString::FromUTF8(text);
}

constexpr std::uint32_t MemoryTop = 0x1FFFF;
constexpr std::uint32_t EntrySize = 9;

}  // namespace

void MainFrame::OnUpload(wxCommandEvent&) {
    if (!ConfirmDiscardUnsaved())
        return;

    // 1-3: firmware word, settings block, settings refreshed from it. Without the firmware word
    // the block length is a guess: a long block read as a short one would shift every sample by
    // twenty bytes, so a logger that does not tell its firmware is a failed read.
    const std::uint8_t* fw = usbLink->ReadFirmwareVersion();
    AppSettings.firmwareVersion = fw ? FirmwareWord(fw) : 0;
    if (!fw) {
        ReportUsbFailure(*usbLink);
        return;
    }
    const std::uint32_t q = SettingsBlockLength(AppSettings.firmwareVersion);
    std::vector<std::uint8_t> raw(q);
    if (!usbLink->ReadMemory(0, q, raw.data())) {
        ReportUsbFailure(*usbLink);
        return;
    }
    const SettingsBlock block = DecodeSettingsBlock(raw.data(), raw.size());
    RefreshSettingsFromBlock(AppSettings, block, AppSettings.firmwareVersion);
    SyncFlowUnitItems();
    const int intervalMs = IntervalMsFromRegister(block.sampleRateRegister);
    const std::uint32_t g = block.eventCount;

    // 4: the progress window. It is closed before any question or message of the download: a
    // progress window left open stays on top of them and hides their text.
    std::unique_ptr<ProgressIndicator> progress = progressFactory();
    auto closeProgress = [&progress] { progress.reset(); };

    if (g == 0) {
        ClearRecords();
    } else {
        // The directory grows down from the top of memory; it must leave room for the block.
        if (EntrySize * g > MemoryTop - q) {
            closeProgress();
            wxLogError(U("Lesen fehlgeschlagen: Ereignisverzeichnis des Geräts ungültig (%u Einträge)"), g);
            return;
        }
        const std::uint32_t directoryStart = MemoryTop - EntrySize * g;
        std::vector<std::uint8_t> directory(EntrySize * g);
        if (!usbLink->ReadMemory(directoryStart, EntrySize * g, directory.data())) {
            closeProgress();
            ReportUsbFailure(*usbLink);
            return;
        }
        progress->Pulse();

        std::vector<EventEntry> entries(g);
        for (std::uint32_t i = 0; i < g; ++i) {
            entries[i] = DecodeEventEntry(&directory[EntrySize * i]);
            // Samples lie between the block and the directory; an end outside that area means the
            // directory cannot be trusted.
            if (entries[i].endAddress < q || entries[i].endAddress > directoryStart) {
                closeProgress();
                wxLogError(U("Lesen fehlgeschlagen: Ereignisverzeichnis des Geräts ungültig (Endadresse %u)"),
                           static_cast<unsigned>(entries[i].endAddress));
                return;
            }
        }

        // 7: the whole sample area up to the newest event's end in one read.
        const std::uint32_t e = entries[0].endAddress;
        std::vector<std::uint8_t> samples(e > q ? e - q : 0);
        if (!samples.empty() &&
            !usbLink->ReadMemory(q, static_cast<std::uint32_t>(samples.size()), samples.data())) {
            closeProgress();
            ReportUsbFailure(*usbLink);
            return;
        }

        // 8: one record per event, newest first.
        ClearRecords();
        for (std::uint32_t i = 0; i < g; ++i) {
            Storage record(FormatEventDate(entries[i]), intervalMs, block.stateFlags & 1, false,
                           AppSettings.flowUnit, static_cast<int>(i + 1));
            record.SetPressureCalibration(block.pressureZero, block.pressureScale, block.pressureScaleFine,
                                          block.pressureUnit);
            record.SetTitle(wxString::Format(U("Speicher %u"), g - i));
            record.SetSerialNumber(block.isLong ? block.serialNumber : 0);
            record.SetEventBytes(static_cast<int>(entries[i].endAddress));
            AppendRecord(record);
            progress->Pulse();
        }

        // 9: samples from the oldest event to the newest; each starts where the older one ended.
        std::uint32_t start = q;
        for (int i = static_cast<int>(g) - 1; i >= 0; --i) {
            const std::uint32_t end = entries[i].endAddress;
            const std::uint32_t n = (end - start) / 3;  // unsigned: an end below the start gives no samples
            if (n >= 1 && n <= MemoryTop) {
                // Only what the buffer holds: an older event may claim more than the newest one's end.
                const std::uint32_t offset = start - q;
                const std::uint32_t available = offset < samples.size() ? (samples.size() - offset) / 3 : 0;
                const std::uint32_t count = std::min(n, available);
                Storage& record = records[i];
                record.Reserve(count);
                for (std::uint32_t k = 0; k < count; ++k) {
                    const RawSample s = DecodeRawSample(&samples[offset + 3 * k]);
                    record.AddRawSample(s.flow, s.pressure);
                }
            }
            start = end;
            progress->Pulse();
        }
    }

    // 10-12: list, the save question, and the clear offer only after a real save.
    closeProgress();
    RefreshRecordList();
    savedFlag = false;
    wxMessageDialog ask(nullptr, U("Save files to computer drive?"), U("Save new data?"),
                        wxYES_NO | wxICON_INFORMATION);
    if (ask.ShowModal() == wxID_YES)
        SaveJobAs();
    if (savedFlag)
        ClearDeviceMemory();
}

void MainFrame::OnClearDevice(wxCommandEvent&) {
    ClearDeviceMemory();
}

void MainFrame::ClearDeviceMemory() {
    wxMessageDialog ask(this, U("Wählen Sie 'OK' um alle gespeicherten Daten auf dem Gerät zu löschen"),
                        U("Achtung: Daten werden gelöscht"), wxOK | wxCANCEL);
    if (ask.ShowModal() != wxID_OK)
        return;
    if (!usbLink->ClearMemory())
        ReportUsbFailure(*usbLink);
}
