// The logger's status poll and live recording.
#include "acquisition/recovery_journal.h"
#include "acquisition/status_text.h"
#include "app/app_settings.h"
#include "data/translate.h"
#include "data/units.h"
#include "device/protocol.h"
#include "device/vext_usb.h"
#include "mainframe/look.h"
#include "mainframe/main_frame.h"
#include "widgets/gauge_style.h"
#include "widgets/lcd_display.h"

#include <wx/bmpbuttn.h>
#include <wx/gauge.h>
#include <wx/log.h>
#include <wx/stattext.h>

#include <algorithm>
#include <vector>

void MainFrame::OnStatusTimer(wxTimerEvent&) {
    journals->UpdateTexts(records);  // titles and texts the user changed reach the journals
    const std::uint8_t* reply = usbLink->ReadStatus();
    if (!reply) {
        statusText->SetLabel(wxString::FromUTF8(" "));
        memoryGauge->SetValue(0);
        batteryGauge->SetValue(0);
        return;
    }
    // A reply that came short shows only what it holds: nothing is shown for a value whose bytes
    // did not come.
    const DeviceStatus st = DecodeStatus(reply, usbLink->LastTransferLength());
    statusText->SetLabel(st.FreeBytesKnown() && st.RateKnown() ? status::RemainingTimeText(RemainingSeconds(
                                                                     st.freeBytes, st.sampleRateRegister))
                                                               : wxString::FromUTF8(" "));
    memoryGauge->SetValue(
        st.FreeBytesKnown() ? status::MemoryGaugeValue(st.freeBytes, memoryGauge->GetRange()) : 0);
    if (!st.BatteryKnown()) {
        batteryGauge->SetValue(0);
        return;
    }

    const int b = 3 * st.batteryReading;
    batteryGauge->SetBackgroundColour(FaceColour());
    batteryGauge->SetValue(std::clamp(b, 0, batteryGauge->GetRange()));
    switch (status::BatteryLevelOf(b)) {
        case status::BatteryLevel::Good:
            batteryGauge->SetForegroundColour(wxColour(0, 255, 0));
            break;
        case status::BatteryLevel::Low:
            batteryGauge->SetForegroundColour(wxColour(240, 160, 0));
            break;
        case status::BatteryLevel::Critical:
            batteryGauge->SetForegroundColour(wxColour(255, 0, 0));
            break;
    }
    ApplyGaugeStyle(batteryGauge);
}

void MainFrame::OnRecord(wxCommandEvent&) {
    elapsedTime = 0.0f;
    // Without the firmware word the short block is read: live samples do not come from memory, so
    // only the serial number and a prescribed flow unit are missing from such a recording.
    const std::uint8_t* fw = usbLink->ReadFirmwareVersion();
    AppSettings.firmwareVersion = fw ? FirmwareWord(fw) : 0;
    const int length = SettingsBlockLength(AppSettings.firmwareVersion);
    std::vector<std::uint8_t> raw(length);
    if (!usbLink->ReadMemory(0, length, raw.data())) {
        wxLogError(Tr("Keine USB-Verbindung erkannt: USB Kabel erneut einstecken"));
        return;
    }
    const SettingsBlock block = DecodeSettingsBlock(raw.data(), raw.size());
    AppSettings = ApplyFlowUnitOption(AppSettings, block);
    SyncFlowUnitItems();

    recordButton->Enable(false);
    stopButton->Enable(true);

    const int intervalMs = IntervalMsFromRegister(block.sampleRateRegister);
    AppSettings.unitSystem = block.stateFlags & 1;
    AppSettings.pressureUnit = block.pressureUnit;

    if (!usbLink->SetLiveMode(true)) {
        wxLogError(Tr("USB-Kommunikation ausgefallen"));
        return;  // the stop button stays available to end this state
    }

    const wxString startText = RecordDateText(wxDateTime::Now());
    Storage live(startText, intervalMs, AppSettings.unitSystem, false, AppSettings.flowUnit, 0);
    live.SetPressureCalibration(block.pressureZero, block.pressureScale, block.pressureScaleFine,
                                block.pressureUnit);
    InsertRecordAtFront(std::move(live));
    liveRecordIndex = 0;
    // Record names are what the job file holds: the same whatever the language.
    records[0].SetTitle(wxString::Format(wxString::FromUTF8("Verbunden %d"), static_cast<int>(records.size())));
    if (block.isLong) {
        AppSettings.serialNumber = block.serialNumber;
        records[0].SetSerialNumber(block.serialNumber);
    }
    std::unique_ptr<recovery::Journal> journal = recovery::Journal::Create(
        recovery::JournalFolder(), records[0],
        {block.pressureZero, block.pressureScale, block.pressureScaleFine, block.pressureUnit});
    if (!journal)
        wxLogError(recovery::NotProtectedText());  // the recording goes on all the same
    journals->Add(0, std::move(journal));
    UpdateUnitLabels(0);

    livePollingMs = std::max(intervalMs, 1000);
    liveTimer.Start(livePollingMs);
    RefreshRecordList();
    // The chart follows the new recording from its start.
    ChartRecord(0);
}

void MainFrame::OnLiveTimer(wxTimerEvent&) {
    // The live record went away (deleted, or the set replaced by an open or a download): no
    // samples may land in another record, so the recording ends as the stop button ends it.
    if (liveRecordIndex < 0 || liveRecordIndex >= static_cast<int>(records.size())) {
        StopRecording();
        return;
    }
    const std::uint8_t* reply = usbLink->ReadLiveValues();
    if (!reply) {
        wxLogError(Tr("USB Connection Lost: STOP operation immediately and Restart Flowmeter AND software"));
        StopRecording();
        return;
    }
    TakeLiveSamples(DecodeLiveReply(reply, usbLink->LastTransferLength()));
}

void MainFrame::TakeLiveSamples(const std::vector<RawSample>& samples) {
    Storage& live = records[liveRecordIndex];
    // What the chart holds of this record unchanged, if the last tick charted it and nothing else
    // did since: a filter on rewrites the last half width of samples as new ones come in.
    const std::size_t halfWidth = static_cast<std::size_t>(live.FilterHalfWidth());
    const std::size_t held =
        liveCharted == static_cast<std::size_t>(live.SampleCount()) && liveCharted > halfWidth
            ? liveCharted - halfWidth
            : 0;
    const wxString flowFormat = units::FlowDisplayFormat(AppSettings.flowUnit);
    for (const RawSample& raw : samples) {
        live.AddRawSample(raw.flow, raw.pressure);
        const Storage::Sample s = live.GetLastSample();
        elapsedTime = s.time;
        clock->ShowElapsed(elapsedTime);
        flowDisplay->SetDisplayText(wxString::Format(flowFormat, s.flow));
        pressureDisplay->SetDisplayText(wxString::Format(wxString::FromUTF8("%.1f"), s.pressure));
    }
    if (recovery::Journal* journal = journals->Of(liveRecordIndex)) {
        journal->Append(samples, live);
        if (journal->TakeFailureNotice())
            wxLogError(recovery::NotProtectedText());
    }
    // Only the live row and the new samples: a tick costs the same at any length of the record.
    // While the user looks at another record, the chart is left to it.
    RefreshRecordRow(liveRecordIndex);
    if (chartedRecord == liveRecordIndex) {
        ChartRecord(liveRecordIndex, held);
        liveCharted = static_cast<std::size_t>(live.SampleCount());
    }
    savedFlag = false;
}

void MainFrame::OnStop(wxCommandEvent&) {
    StopRecording();
}

void MainFrame::StopRecording() {
    recordButton->Enable(true);
    stopButton->Enable(false);
    liveTimer.Stop();
    const bool liveOff = usbLink->SetLiveMode(false);
    if (liveOff) {
        // Emptying the logger's queue brings what it measured since the last tick, up to a second
        // of the recording the user made before pressing stop: it joins the record.
        const std::uint8_t* reply = usbLink->ReadLiveValues();
        if (reply && liveRecordIndex >= 0 && liveRecordIndex < static_cast<int>(records.size()))
            TakeLiveSamples(DecodeLiveReply(reply, usbLink->LastTransferLength()));
    }
    if (recovery::Journal* journal = journals->Of(liveRecordIndex))
        journal->Sync();
    liveRecordIndex = -1;
    if (!liveOff) {
        wxLogError(Tr("USB Fehler: (Logging Fehlgeschlagen) Vantor ausschalten und Software neustarten"));
        return;
    }
    RefreshRecordList();
}
