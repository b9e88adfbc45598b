// Every fault the emulated logger knows, injected at every control transfer of every operation
// that talks to the logger. Each run must end in bounded time, leave the records that were there,
// show exactly the operation's own failure messages (none where the link recovers by design), and
// the same operation must work again once the fault has cleared.
#include "acquisition_fixture.h"

#include "app/app_settings.h"
#include "device/protocol.h"
#include "dialogs/config_dialog.h"
#include "dialogs/settings_dialog.h"

#include <wx/button.h>
#include <wx/datectrl.h>
#include <wx/dateevt.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/panel.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <filesystem>

namespace {

using Texts = std::vector<std::string>;

const char* const NoConnection = "Keine USB-Verbindung erkannt: USB Kabel erneut einstecken";
const char* const LiveRefused = "USB-Kommunikation ausgefallen";
const char* const LiveLost =
    "USB Connection Lost: STOP operation immediately and Restart Flowmeter AND software";
const char* const StopFailed =
    "USB Fehler: (Logging Fehlgeschlagen) Vantor ausschalten und Software neustarten";
const char* const UsbFailed = "USB-Verbindung fehlgeschlagen";
const char* const SaveQuestion = "Save files to computer drive?";
const char* const ClearQuestion = "Wählen Sie 'OK' um alle gespeicherten Daten auf dem Gerät zu löschen";
const char* const SetupQuestion =
    "Configuring the logger clears its memory: all recordings on the logger will be erased.\nContinue?";
const char* const FileDialog = "(file dialog)";

struct FaultKind {
    const char* name;
    emu::Fault fault;
    int bytes;
};
const FaultKind Kinds[] = {
    {"stall", emu::Fault::Stall, 0},
    {"time-out", emu::Fault::Timeout, 0},
    {"unplug", emu::Fault::Unplug, 0},
    {"unplug and replug", emu::Fault::Replug, 0},
    {"short reply", emu::Fault::ShortReply, -1},               // one byte short
    {"wrong count byte", emu::Fault::LiveCountTooLarge, 222},  // 74 samples claimed
};

// What a fault at one transfer does to the step of the operation it hits.
enum class Effect { None, Fails, Gone, GoneBack };

// `retried`: the link asked again after the failed transfer (configuration 1, then the same
// request). Which requests it asks again is the transport test's to hold, not restated here.
Effect EffectOf(emu::Fault fault, const emu::TransferRecord& t, bool retried) {
    if (fault == emu::Fault::Unplug)
        return Effect::Gone;
    if (fault == emu::Fault::Replug)
        return Effect::GoneBack;
    if (t.requestType == logger::RequestTypeStandardOut)
        return Effect::None;  // the search does not look at its configuration request's result
    const bool in = t.requestType == logger::RequestTypeVendorIn;
    switch (fault) {
        case emu::Fault::Stall:
        case emu::Fault::Timeout:
            return retried ? Effect::None : Effect::Fails;
        case emu::Fault::ShortReply:
            // Done with what came: a memory chunk is asked for once more, a live reply and a clock
            // reply one byte short hold all that is used of them; the firmware word, the status's
            // sample-rate register and the second clock configuration byte are not known then.
            return in && (t.request == logger::ReqFirmwareVersion || t.request == logger::ReqStatus ||
                          t.request == logger::ReqClockConfig)
                       ? Effect::Fails
                       : Effect::None;
        default:
            return Effect::None;
    }
}

// One step of an operation: its request, how many transfers it makes, the message its failure
// raises, and where the operation goes on after it failed (End, Next or a step index).
constexpr int End = -1;
constexpr int Next = -2;
struct Step {
    int request;
    int transfers;
    const char* message;
    int next;
};

// The course of an operation whose step `failed` fails with `effect`: with the logger gone for
// good every later step fails as well; otherwise the operation carries on as usual.
struct Course {
    Texts errors;
    std::vector<bool> ok;
};

Course Follow(const std::vector<Step>& steps, int failed, Effect effect) {
    Course c;
    c.ok.assign(steps.size(), false);
    bool down = false;
    for (int s = 0; s != End && s < static_cast<int>(steps.size());) {
        const bool fails = effect != Effect::None && (s == failed || (down && effect == Effect::Gone));
        if (!fails) {
            c.ok[s] = true;
            ++s;
            continue;
        }
        down = true;
        if (*steps[s].message)
            c.errors.push_back(steps[s].message);
        s = steps[s].next == Next ? s + 1 : steps[s].next;
    }
    return c;
}

// A record as the user sees it.
struct RecordImage {
    std::string title;
    std::vector<float> times, flows, pressures, volumes;
    bool operator==(const RecordImage&) const = default;
};

void PrintTo(const RecordImage& r, std::ostream* os) {
    *os << '"' << r.title << "\" with " << r.flows.size() << " samples";
    if (!r.flows.empty())
        *os << ", flows " << r.flows.front() << " .. " << r.flows.back();
}

std::vector<RecordImage> Images(const std::vector<Storage>& records, std::size_t from = 0) {
    std::vector<RecordImage> out;
    for (std::size_t i = from; i < records.size(); ++i)
        out.push_back({records[i].Title().utf8_string(), records[i].Times(), records[i].Flows(),
                       records[i].Pressures(), records[i].Volumes()});
    return out;
}

// What one run showed the user.
struct Shown {
    Texts errors, dialogs;
    int covered = 0;  // messages and questions raised while the progress window was open
    double seconds = 0;
};

// Answers the questions of the operations as a user who wants everything done, and notes them.
class Answers : public wxModalDialogHook {
public:
    Answers(Shown*& shown, const int& progressOpen, wxString path)
        : shown(shown), progressOpen(progressOpen), path(std::move(path)) {
        Register();
    }
    ~Answers() override { Unregister(); }

protected:
    int Enter(wxDialog* dialog) override {
        shown->covered += progressOpen;
        if (auto* file = dynamic_cast<wxFileDialog*>(dialog)) {
            shown->dialogs.push_back(FileDialog);
            file->SetPath(path);
            return wxID_OK;
        }
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        const std::string text = box ? box->GetMessage().utf8_string() : dialog->GetTitle().utf8_string();
        shown->dialogs.push_back(text);
        if (text == SaveQuestion)
            return wxID_YES;
        if (text == ClearQuestion || text == SetupQuestion)
            return wxID_OK;
        ADD_FAILURE() << "unexpected dialog: " << text;
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}

private:
    Shown*& shown;
    const int& progressOpen;
    wxString path;
};

class Messages : public wxLog {
public:
    Messages(Shown*& shown, const int& progressOpen)
        : shown(shown), progressOpen(progressOpen), previous(wxLog::SetActiveTarget(this)) {}
    ~Messages() override { wxLog::SetActiveTarget(previous); }

protected:
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo&) override {
        shown->covered += progressOpen;
        if (level == wxLOG_Error)
            shown->errors.push_back(msg.utf8_string());
    }

private:
    Shown*& shown;
    const int& progressOpen;
    wxLog* previous;
};

class FaultSweep : public AcquisitionTest {
protected:
    // What the operation's run left, given how its steps went.
    struct Outcome {
        const Course& course;
        const Shown& shown;
        const std::vector<RecordImage>& before;
        bool sampleLost;  // a live reply cut short: its sample is lost, by design
    };
    struct Operation {
        std::string name;
        std::vector<Step> steps;
        std::function<void()> prepare;  // before the fault: warm links, open dialogs, make changes
        std::function<void()> again;    // what the user does before trying once more
        std::function<void()> act;
        std::function<void(const Outcome&)> check;
    };

    // The logger and the window as every run finds them.
    void Restore() {
        logger->ClearFaults();
        if (!logger->Plugged())
            logger->Replug();
        SettingsBlock b = logger->Settings();
        b.sampleRateRegister = 0xE000;
        b.stateFlags = 3;
        b.pressureUnit = 112;
        b.flowOnThreshold = 80;
        b.flowOnDelay = 3;
        b.flowOffThreshold = 20;
        b.flowOffDelay = 4;
        b.serialNumber = 2417;
        logger->SetSettings(b);
        logger->ClearEvents();
        const int sizes[3] = {50, 0, 60};
        for (int e = 0; e < 3; ++e) {
            std::vector<RawSample> samples;
            for (int i = 0; i < sizes[e]; ++i)
                samples.push_back({static_cast<std::uint16_t>(100 + i), static_cast<std::uint16_t>(300 + i)});
            logger->AddEvent({2023, 3, 20 + e, 9, 0, 0}, samples);
        }
        logger->SetClock(loggerTime, 0x21);
        logger->SetErrorCode(0);
        AppSettings.firmwareVersion = logger::FirmwareLongBlock;
    }
    void RestoreRecords() {
        frame->ClearRecords();
        for (int i = 0; i < 2; ++i) {
            Storage old(U8("01/01/2023 00:00:00"), 1000, 1, false, 0, i + 1);
            old.AddRawSample(10 + i, 300);
            frame->AppendRecord(old);
        }
        frame->SetSaved(true);
    }

    Shown RunOnce(const Operation& op) {
        Shown run;
        current = &run;
        const auto start = std::chrono::steady_clock::now();
        op.act();
        run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        current = nullptr;
        // Windows made and destroyed in the run (a file chooser) leave work for the toolkit's loop.
        wxTheApp->Yield(true);
        return run;
    }

    std::vector<Operation> Operations();
    static int Failures() {
        return ::testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
    }

    const emu::CivilTime loggerTime{2023, 3, 24, 13, 5, 9};
    const wxDateTime computerTime{14, wxDateTime::Feb, 2024, 10, 20, 30};  // a Wednesday
    const wxDateTime pickedDate{2, wxDateTime::Feb, 2024};
    std::unique_ptr<SettingsDialog> settings;
    std::unique_ptr<Config> service;
    int flowOn = 100;
    std::string baseDump;
    Shown* current = nullptr;
};

std::vector<FaultSweep::Operation> FaultSweep::Operations() {
    const auto warm = [this] { StatusTick(); };  // the main window's link knows the logger
    const auto nothing = [] {};
    const auto unchanged = [this](const Outcome& o) { EXPECT_EQ(Images(frame->Records()), o.before); };
    const int sampleChunks = (3 * (50 + 60) + 127) / 128;
    std::vector<Operation> ops;

    ops.push_back({"status poll",
                   {{logger::ReqStatus, 1, "", End}},
                   warm,
                   nothing,
                   [this] { StatusTick(); },
                   [this, unchanged](const Outcome& o) {
                       unchanged(o);
                       const wxString label = frame->StatusText()->GetLabel();
                       EXPECT_EQ(label == U8(" "), !o.course.ok[0]) << label.utf8_string();
                       EXPECT_EQ(label.EndsWith(U8(" Speicherplatz vorhanden")), o.course.ok[0]);
                       EXPECT_TRUE(o.shown.dialogs.empty());
                   }});

    const int stopStep = 8;
    // Without the firmware word the recording goes on with the short block (no serial number).
    std::vector<Step> live = {{logger::ReqFirmwareVersion, 1, "", Next},
                              {logger::ReqReadMemory, 1, NoConnection, End},
                              {logger::ReqLiveMode, 1, LiveRefused, stopStep}};
    for (int tick = 0; tick < 5; ++tick)
        live.push_back({logger::ReqLiveValues, 1, LiveLost, stopStep});
    live.push_back({logger::ReqLiveMode, 1, StopFailed, End});
    live.push_back({logger::ReqLiveValues, 1, "", End});  // empties the queue into the record
    ops.push_back({"live recording", live, warm, nothing,
                   [this] {
                       Button(ID_RECORD);
                       for (int tick = 0; tick < 5 && frame->LiveTimer().IsRunning(); ++tick) {
                           clock.Advance(IntervalMsFromRegister(0xE000) / 1000.0);
                           LiveTick();
                       }
                       if (Enabled(ID_STOP))
                           Button(ID_STOP);
                   },
                   [this](const Outcome& o) {
                       EXPECT_TRUE(Enabled(ID_RECORD));
                       EXPECT_FALSE(Enabled(ID_STOP));
                       EXPECT_FALSE(frame->LiveTimer().IsRunning());
                       EXPECT_TRUE(o.shown.dialogs.empty());
                       if (!o.course.ok[2]) {
                           EXPECT_EQ(Images(frame->Records()), o.before);
                           return;
                       }
                       EXPECT_EQ(Images(frame->Records(), 1), o.before);
                       int samples = 0;
                       for (int tick = 3; tick < 8; ++tick)
                           samples += o.course.ok[tick] ? 1 : 0;
                       // The sample of a tick that failed is still in the logger's queue: the stop's
                       // read brings it.
                       samples += o.course.ok[9] && samples < 5 ? 1 : 0;
                       EXPECT_EQ(frame->Records()[0].SampleCount(), samples - (o.sampleLost ? 1 : 0));
                       EXPECT_EQ(frame->Records()[0].SerialNumber(), o.course.ok[0] ? 2417 : 0);
                   }});

    ops.push_back({"download of three events",
                   {{logger::ReqFirmwareVersion, 1, UsbFailed, End},
                    {logger::ReqReadMemory, 1, UsbFailed, End},  // settings block
                    {logger::ReqReadMemory, 1, UsbFailed, End},  // event directory
                    {logger::ReqReadMemory, sampleChunks, UsbFailed, End},
                    {logger::ReqClearMemory, 1, UsbFailed, End}},
                   [this, warm] {
                       warm();
                       frame->SetSaved(true);
                   },
                   [this] { frame->SetSaved(true); },
                   [this] { Button(ID_UPLOAD); },
                   [this](const Outcome& o) {
                       const bool read = o.course.ok[3];
                       if (!read) {
                           EXPECT_EQ(Images(frame->Records()), o.before);
                           EXPECT_TRUE(o.shown.dialogs.empty());
                       } else {
                           EXPECT_EQ(o.shown.dialogs, (Texts{SaveQuestion, FileDialog, ClearQuestion}));
                           ASSERT_EQ(frame->Records().size(), 3u);
                           const int counts[3] = {60, 0, 50};
                           for (int i = 0; i < 3; ++i) {
                               EXPECT_EQ(frame->Records()[i].Title(),
                                         wxString::Format(U8("Speicher %d"), 3 - i));
                               EXPECT_EQ(frame->Records()[i].SampleCount(), counts[i]);
                           }
                           EXPECT_FLOAT_EQ(frame->Records()[2].GetSample(0).flow, 100.0f);
                           EXPECT_FLOAT_EQ(frame->Records()[0].GetSample(59).flow, 159.0f);
                       }
                       EXPECT_EQ(logger->EventCount(), o.course.ok[4] ? 0 : 3);
                   }});

    ops.push_back({"clear",
                   {{logger::ReqClearMemory, 1, UsbFailed, End}},
                   warm,
                   nothing,
                   [this] { Button(ID_CLEAR_DEVICE); },
                   [this, unchanged](const Outcome& o) {
                       unchanged(o);
                       EXPECT_EQ(o.shown.dialogs, Texts{ClearQuestion});
                       EXPECT_EQ(logger->EventCount(), o.course.ok[0] ? 0 : 3);
                   }});

    const char* const SettingsFailed =
        "Herunterladen der Einstellungen fehlgeschlagen: USB-Kabelverbindung überprüfen";
    const char* const ClockWriteFailed = "Uhrzeiteinstellung fehlgeschlagen";
    const char* const ThresholdFailed = "Änderung des Druchflussgrenzwertes fehlgeschlagen";
    const auto change = [this] {
        wxSpinEvent up(wxEVT_SPIN_UP, settings->MinutesSpin()->GetId());
        Send(settings->MinutesSpin(), up);
        settings->DatePicker()->SetValue(pickedDate);
        wxDateEvent date(settings->DatePicker(), pickedDate, wxEVT_DATE_CHANGED);
        Send(settings->DatePicker(), date);
        settings->FlowOnText()->SetValue(wxString::Format(U8("%d"), ++flowOn));
    };
    ops.push_back({"settings dialog Download",
                   {{logger::ReqSampleRate, 1, SettingsFailed, 2},
                    {logger::ReqPressureUnit, 1, SettingsFailed, Next},
                    {logger::ReqSetClockTime, 1, ClockWriteFailed, Next},
                    {logger::ReqSetClockDate, 1, ClockWriteFailed, Next},
                    {logger::ReqFlowOnThreshold, 1, ThresholdFailed, Next},
                    {logger::ReqFlowOffThreshold, 1, ThresholdFailed, Next},
                    {logger::ReqAutoLogging, 1, "Automatische Datenlogfunktion fehlgeschlagen", End}},
                   [this, change] {
                       settings = std::make_unique<SettingsDialog>(nullptr);
                       change();
                   },
                   change,
                   [this] { Press(settings->DownloadButton()); },
                   [this, unchanged](const Outcome& o) {
                       unchanged(o);
                       EXPECT_TRUE(o.shown.dialogs.empty());
                       // Every step is tried whatever failed before it (the thresholds after a lost
                       // clock write), and nothing is left over for the next Download.
                       EXPECT_EQ(logger->Settings().flowOnThreshold == flowOn, o.course.ok[4]);
                       EXPECT_FALSE(settings->TimeChanged());
                       EXPECT_FALSE(settings->ThresholdsChanged());
                       if (std::find(o.course.ok.begin(), o.course.ok.end(), false) != o.course.ok.end())
                           return;
                       EXPECT_TRUE(logger->Settings().AutoLogging());
                       EXPECT_EQ(wxString::Format(U8("%02x"), logger->ClockRegistersNow().minutes),
                                 settings->MinutesText()->GetValue());
                       const emu::CivilTime now = logger->ClockNow();
                       EXPECT_EQ(now.year * 10000 + now.month * 100 + now.day, 20240202);
                   }});

    const char* const ClockFailed = "Clock Time Change failed";
    ops.push_back({"service set-up",
                   {{logger::ReqSampleRate, 1, "Download Settings failed: Unplug USB and Re-insert", 2},
                    {logger::ReqPressureUnit, 1, "Download Settings failed: Unplug USB and Re-insert", Next},
                    {logger::ReqAutoLogging, 1, "", Next},
                    {logger::ReqClearMemory, 1, "", Next},
                    {logger::ReqReadClock, 1, ClockFailed, 6},
                    {logger::ReqSetClockTime, 1, ClockFailed, Next},
                    {logger::ReqSetClockDate, 1, ClockFailed, Next},
                    {logger::ReqConfigureClock, 1, "", Next},
                    {logger::ReqClockConfig, 1, "", Next},
                    {logger::ReqFlowOnThreshold, 1, "Failed to set Flow On thresh", Next},
                    {logger::ReqFlowOffThreshold, 1, "Failed to set Flow Off thresh", End}},
                   [this] {
                       service = std::make_unique<Config>(nullptr);
                       service->SetComputerClock([this] { return computerTime; });
                   },
                   nothing,
                   [this] { Press(service->SetupButton()); },
                   [this, unchanged](const Outcome& o) {
                       unchanged(o);
                       EXPECT_EQ(o.shown.dialogs, Texts{SetupQuestion});
                       if (std::find(o.course.ok.begin(), o.course.ok.end(), false) != o.course.ok.end())
                           return;
                       const SettingsBlock b = logger->Settings();
                       EXPECT_EQ(b.sampleRateRegister, 0xF000);
                       EXPECT_EQ(b.pressureUnit, 98);
                       EXPECT_FALSE(b.AutoLogging());
                       EXPECT_EQ(b.flowOnThreshold * 100 + b.flowOnDelay, 5002);
                       EXPECT_EQ(b.flowOffThreshold * 100 + b.flowOffDelay, 3010);
                       EXPECT_EQ(logger->EventCount(), 0);
                       EXPECT_EQ(logger->ClockNow(), (emu::CivilTime{2024, 2, 14, 10, 20, 30}));
                       EXPECT_EQ(logger->ClockRegistersNow().weekday, 0x23);
                   }});

    ops.push_back({"settings dump",
                   {{logger::ReqFirmwareVersion, 1, "", Next},
                    {logger::ReqReadMemory, 1, "", End},
                    {logger::ReqReadClock, 1, "", Next},
                    {logger::ReqClockConfig, 1, "", End}},
                   [this] { service = std::make_unique<Config>(nullptr); },
                   nothing,
                   [this] { Press(service->DumpButton()); },
                   [this, unchanged](const Outcome& o) {
                       unchanged(o);
                       EXPECT_TRUE(o.shown.dialogs.empty());
                       const std::string text = service->ContentsText()->GetValue().utf8_string();
                       if (baseDump.empty()) {
                           baseDump = text;
                           return;
                       }
                       const std::size_t block = baseDump.find('\n') + 1;
                       const std::size_t rtc = baseDump.find("\nRTC Current Time");
                       const std::size_t config = baseDump.find("Clock Configure");
                       ASSERT_NE(rtc, std::string::npos);
                       ASSERT_NE(config, std::string::npos);
                       std::string expected =
                           o.course.ok[0] ? baseDump.substr(0, block) : "Firmware Version: \t 0\n";
                       if (o.course.ok[1])
                           expected += baseDump.substr(block, rtc - block);
                       if (o.course.ok[2])
                           expected += baseDump.substr(rtc, config - rtc);
                       if (o.course.ok[3])
                           expected += baseDump.substr(config);
                       EXPECT_EQ(text, expected);
                   }});
    return ops;
}

TEST_F(FaultSweep, EveryFaultAtEveryTransferOfEveryOperation) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zpm-sweep-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    Answers answers(current, progressOpen, wxString::FromUTF8((dir / "sweep.kvr").string()));
    Messages messages(current, progressOpen);
    const std::vector<Operation> ops = Operations();

    int positions = 0, runs = 0;
    std::string perOperation;
    double slowest = 0;
    const auto sweepStart = std::chrono::steady_clock::now();
    for (const Operation& op : ops) {
        SCOPED_TRACE(op.name);
        // The operation without a fault: exactly the transfers its steps describe.
        Restore();
        RestoreRecords();
        op.prepare();
        logger->ClearTransfers();
        std::vector<RecordImage> before = Images(frame->Records());
        Shown base = RunOnce(op);
        const Course clean = Follow(op.steps, End, Effect::None);
        EXPECT_TRUE(base.errors.empty());
        op.check({clean, base, before, false});
        const std::vector<emu::TransferRecord> transfers = logger->Transfers();
        std::vector<int> stepOf(transfers.size(), -1);
        std::size_t s = 0;
        int used = 0;
        std::vector<std::size_t> pending;  // configuration requests of a search: part of the next step
        for (std::size_t i = 0; i < transfers.size(); ++i) {
            if (transfers[i].requestType == logger::RequestTypeStandardOut) {
                pending.push_back(i);
                continue;
            }
            if (used == op.steps[s].transfers && s + 1 < op.steps.size()) {
                ++s;
                used = 0;
            }
            ASSERT_EQ(transfers[i].request, op.steps[s].request) << "transfer " << i + 1;
            ++used;
            stepOf[i] = static_cast<int>(s);
            for (std::size_t p : pending)
                stepOf[p] = static_cast<int>(s);
            pending.clear();
        }
        ASSERT_EQ(s + 1, op.steps.size());
        ASSERT_EQ(used, op.steps.back().transfers);
        ASSERT_TRUE(pending.empty());
        positions += static_cast<int>(transfers.size());
        perOperation += (perOperation.empty() ? "" : ", ") + op.name + " " + std::to_string(transfers.size());

        for (const FaultKind& kind : Kinds) {
            const int failuresBefore = Failures();
            for (std::size_t k = 1; k <= transfers.size(); ++k) {
                SCOPED_TRACE(testing::Message()
                             << kind.name << " at transfer " << k << " of " << transfers.size());
                Restore();
                RestoreRecords();
                op.prepare();
                before = Images(frame->Records());
                logger->ClearTransfers();
                logger->FaultAtTransfer(kind.fault, static_cast<int>(k), kind.bytes);
                Shown run = RunOnce(op);
                // A short reply is a reply: nothing reconfigures after it, and a memory chunk that
                // came short is asked for once more at the same place.
                const std::vector<emu::TransferRecord>& seen = logger->Transfers();
                for (std::size_t i = 0; i + 1 < seen.size(); ++i) {
                    const emu::TransferRecord& t = seen[i];
                    if (t.requestType != logger::RequestTypeVendorIn || t.result < 0 || t.result >= t.length)
                        continue;
                    if (t.request == logger::ReqLiveValues)
                        continue;  // a live reply is as long as the queue, never the whole 223 bytes
                    EXPECT_NE(seen[i + 1].requestType, logger::RequestTypeStandardOut) << "reconfigured";
                    if (t.request == logger::ReqReadMemory) {
                        EXPECT_EQ(seen[i + 1].request, t.request);
                        EXPECT_EQ(seen[i + 1].value, t.value);
                        EXPECT_EQ(seen[i + 1].index, t.index);
                    }
                }
                const emu::TransferRecord& hit = transfers[k - 1];
                const bool retried = k < seen.size() &&
                                     seen[k].requestType == logger::RequestTypeStandardOut &&
                                     k + 1 < seen.size() && seen[k + 1].request == hit.request;
                const Effect effect = EffectOf(kind.fault, hit, retried);
                const Course course = Follow(op.steps, stepOf[k - 1], effect);
                const bool lost = kind.fault == emu::Fault::ShortReply &&
                                  hit.request == logger::ReqLiveValues && stepOf[k - 1] >= 3 &&
                                  stepOf[k - 1] < 8;
                EXPECT_FALSE(logger->FaultsPending()) << "the operation never reached the transfer";
                EXPECT_EQ(run.errors, course.errors);
                EXPECT_EQ(run.covered, 0) << "a message or question under the progress window";
                op.check({course, run, before, lost});
                slowest = std::max(slowest, run.seconds);
                ++runs;

                // The fault clears (the cable is back in): the same operation works again.
                logger->ClearFaults();
                if (!logger->Plugged())
                    logger->Replug();
                Restore();
                op.again();
                before = Images(frame->Records());
                Shown next = RunOnce(op);
                EXPECT_TRUE(next.errors.empty());
                op.check({clean, next, before, false});
                slowest = std::max(slowest, next.seconds);
                ++runs;
                if (Failures() > failuresBefore)
                    break;  // one failing position of a kind tells enough; the rest would repeat it
            }
        }
    }
    settings.reset();
    service.reset();
    std::filesystem::remove_all(dir);
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - sweepStart).count();
    std::printf(
        "fault sweep: %zu operations with %d transfers in all (%s) x %zu fault kinds = %d faulted "
        "runs, %d runs with the recoveries; slowest run %.3f s, all in %.1f s\n",
        ops.size(), positions, perOperation.c_str(), std::size(Kinds),
        positions * static_cast<int>(std::size(Kinds)), runs, slowest, total);
    EXPECT_LT(slowest, 5.0) << "an operation took longer than its time-outs allow";
}

}  // namespace
