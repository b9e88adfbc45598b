#include "acquisition_fixture.h"

#include "device/protocol.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

const char* SaveQuestion = "Save files to computer drive?";
const char* SaveCaption = "Save new data?";
const char* ClearQuestion = "Wählen Sie 'OK' um alle gespeicherten Daten auf dem Gerät zu löschen";
const char* ClearCaption = "Achtung: Daten werden gelöscht";

std::vector<RawSample> Ramp(int n, int flow0, int pressure0) {
    std::vector<RawSample> out;
    for (int i = 0; i < n; ++i)
        out.push_back(
            RawSample{static_cast<std::uint16_t>(flow0 + i), static_cast<std::uint16_t>(pressure0 + i)});
    return out;
}

// "Laden" windows the user would see now.
int ShownProgressWindows() {
    int n = 0;
    for (wxWindow* w : wxTopLevelWindows)
        n += w->IsShown() && w->GetLabel() == U8("Laden") ? 1 : 0;
    return n;
}

// A message box answered as ExpectMessage does, after checking that no progress window, real or
// stand-in, is open over it at the moment it would show.
class ExpectUncovered : public ExpectMessage {
public:
    ExpectUncovered(int answer, const wxString& message, const wxString& caption,
                    const int* standIns = nullptr)
        : ExpectMessage(answer, message, caption), standIns(standIns) {}

protected:
    int OnInvoked(wxMessageDialog* dlg) const override {
        EXPECT_EQ(ShownProgressWindows() + (standIns ? *standIns : 0), 0)
            << "progress window over " << dlg->GetMessage().utf8_string();
        return ExpectMessage::OnInvoked(dlg);
    }

private:
    const int* standIns;
};

// Error messages, each with the number of progress windows (real or stand-in) open when it was
// raised.
class UncoveredLog : public wxLog {
public:
    explicit UncoveredLog(const int* standIns = nullptr)
        : standIns(standIns), previous(wxLog::SetActiveTarget(this)) {}
    ~UncoveredLog() override { wxLog::SetActiveTarget(previous); }
    std::vector<std::pair<std::string, int>> errors;

protected:
    void DoLogRecord(wxLogLevel, const wxString& msg, const wxLogRecordInfo&) override {
        errors.emplace_back(msg.utf8_string(), ShownProgressWindows() + (standIns ? *standIns : 0));
    }

private:
    const int* standIns;
    wxLog* previous;
};

class DownloadTest : public AcquisitionTest {
protected:
    void SetUp() override {
        AcquisitionTest::SetUp();
        SettingsBlock b = logger->Settings();
        b.sampleRateRegister = 0xF000;
        b.stateFlags = 1;
        b.pressureZero = 100;
        b.pressureScale = 1;
        b.pressureScaleFine = 0;
        b.pressureUnit = 112;
        b.serialNumber = 4242;
        logger->SetSettings(b);
    }
    void ThreeEvents() {
        ASSERT_TRUE(logger->AddEvent({2023, 3, 5, 9, 7, 2}, Ramp(5, 100, 200)));
        ASSERT_TRUE(logger->AddEvent({2023, 3, 6, 10, 0, 0}, {}));
        ASSERT_TRUE(logger->AddEvent({2023, 3, 24, 13, 5, 9}, Ramp(7, 300, 400)));
    }
    void Download(int saveAnswer = wxID_NO) {
        wxTEST_DIALOG(Button(ID_UPLOAD),
                      ExpectUncovered(saveAnswer, U8(SaveQuestion), U8(SaveCaption), &progressOpen));
    }
    std::vector<std::string> Titles() {
        std::vector<std::string> out;
        for (const auto& r : frame->Records())
            out.push_back(r.Title().utf8_string());
        return out;
    }
    ScratchDir scratch;
    const std::filesystem::path& dir = scratch.path;
};

}  // namespace

// The program's own progress window, not a stand-in: it shows while the logger is read and is
// gone before the save question, the clear question and any failure message.
TEST_F(DownloadTest, RealProgressWindowNeverCoversAQuestionOrMessage) {
    int shownWhileReading = 0;
    frame->SetProgressFactory([&] {
        std::unique_ptr<ProgressIndicator> p = DefaultProgressFactory()();
        shownWhileReading += ShownProgressWindows();
        return p;
    });
    ThreeEvents();
    const wxString path = wxString::FromUTF8((dir / "real").string());
    wxTEST_DIALOG(Button(ID_UPLOAD), ExpectUncovered(wxID_YES, U8(SaveQuestion), U8(SaveCaption)),
                  wxExpectModal<wxFileDialog>(path),
                  ExpectUncovered(wxID_OK, U8(ClearQuestion), U8(ClearCaption)));
    EXPECT_EQ(shownWhileReading, 1);
    EXPECT_EQ(logger->EventCount(), 0) << "saved, then cleared";
    EXPECT_EQ(ShownProgressWindows(), 0);

    // A read that fails behind the progress window: its message comes after the window is gone.
    ThreeEvents();
    logger->Plan({emu::Fault::Stall, logger::ReqReadMemory, 1, 1, 0});
    {
        UncoveredLog errors;
        Button(ID_UPLOAD);
        EXPECT_EQ(errors.errors,
                  (std::vector<std::pair<std::string, int>>{{"USB-Verbindung fehlgeschlagen", 0}}));
    }
    EXPECT_EQ(shownWhileReading, 2);
    EXPECT_EQ(ShownProgressWindows(), 0);
}

TEST_F(DownloadTest, ThreeEventsNewestFirstWithTheirSamples) {
    ThreeEvents();
    Download();
    EXPECT_TRUE(log->Errors().empty());
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Speicher 3", "Speicher 2", "Speicher 1"}));
    const auto& records = frame->Records();
    EXPECT_EQ(records[2].DateText(), U8("5/03/2023 9:07:02"));
    EXPECT_EQ(records[0].DateText(), U8("24/03/2023 13:05:09"));
    // The oldest event's samples start right after the block.
    ASSERT_EQ(records[2].SampleCount(), 5);
    EXPECT_FLOAT_EQ(records[2].GetSample(0).flow, 100.0f);
    EXPECT_FLOAT_EQ(records[2].GetSample(0).pressure, 100.0f);  // (200 - 100) / 1.00 psi
    EXPECT_FLOAT_EQ(records[2].GetSample(4).flow, 104.0f);
    EXPECT_FLOAT_EQ(records[2].GetSample(0).time, 1.0f);
    EXPECT_EQ(records[1].SampleCount(), 0);  // listed all the same
    ASSERT_EQ(records[0].SampleCount(), 7);
    EXPECT_FLOAT_EQ(records[0].GetSample(6).flow, 306.0f);
    for (const auto& r : records) {
        EXPECT_EQ(r.SerialNumber(), 4242);
        EXPECT_EQ(r.IntervalMs(), 1000);
        EXPECT_EQ(r.PressureUnit(), 112);
    }
    EXPECT_EQ(records[0].EventBytes(), static_cast<int>(logger->Directory()[0].endAddress));
    EXPECT_FALSE(frame->IsSaved());
    EXPECT_EQ(progressOpened, 1);
    EXPECT_EQ(pulses, 1 + 2 * 3);  // directory, each record created, each record filled
}

TEST_F(DownloadTest, NoEventsEmptiesTheSetAndStillAsks) {
    frame->AppendRecord(Storage(U8("01/01/2023 00:00:00"), 1000, 1, false, 0, 1));
    frame->SetSaved(true);
    Download();
    EXPECT_TRUE(frame->Records().empty());
    EXPECT_EQ(progressOpened, 1);
}

TEST_F(DownloadTest, ShortBlockHasNoSerialAndSamplesFromAddress21) {
    logger->SetFirmwareWord(0x0402);  // keeps the settings of SetUp, serial number 4242 included
    ASSERT_TRUE(logger->AddEvent({2023, 3, 5, 9, 7, 2}, Ramp(3, 50, 150)));
    Download();
    ASSERT_EQ(frame->Records().size(), 1u);
    EXPECT_EQ(frame->Records()[0].SerialNumber(), 0);
    ASSERT_EQ(frame->Records()[0].SampleCount(), 3);
    EXPECT_FLOAT_EQ(frame->Records()[0].GetSample(0).flow, 50.0f);
    EXPECT_EQ(logger->Directory()[0].endAddress, 21u + 9u);
}

TEST_F(DownloadTest, SaveQuestionAndClearOffer) {
    ThreeEvents();
    // Yes, then cancel the file dialog: no save, so no offer to clear the logger.
    wxTEST_DIALOG(Button(ID_UPLOAD), ExpectMessage(wxID_YES, U8(SaveQuestion), U8(SaveCaption)),
                  wxExpectModal<wxFileDialog>(wxString(), wxID_CANCEL));
    EXPECT_FALSE(frame->IsSaved());
    EXPECT_EQ(logger->EventCount(), 3);

    // Yes and a file name: saved, then the clear question; OK erases the logger.
    const wxString path = wxString::FromUTF8((dir / "einsatz").string());
    frame->SetSaved(true);  // the records above need no discard question here
    wxTEST_DIALOG(Button(ID_UPLOAD), ExpectMessage(wxID_YES, U8(SaveQuestion), U8(SaveCaption)),
                  wxExpectModal<wxFileDialog>(path),
                  ExpectMessage(wxID_OK, U8(ClearQuestion), U8(ClearCaption)));
    EXPECT_TRUE(frame->IsSaved());
    EXPECT_TRUE(std::filesystem::exists(dir / "einsatz.kvr"));
    EXPECT_EQ(frame->GetTitle(), U8("einsatz"));
    EXPECT_EQ(logger->EventCount(), 0);
    EXPECT_EQ(frame->Records().size(), 3u);  // the records stay
}

TEST_F(DownloadTest, ClearCommandAsksAndReportsFailure) {
    ThreeEvents();
    wxTEST_DIALOG(Button(ID_CLEAR_DEVICE), ExpectMessage(wxID_CANCEL, U8(ClearQuestion), U8(ClearCaption)));
    EXPECT_EQ(logger->EventCount(), 3);
    logger->StallNext(2, logger::ReqClearMemory);
    logger->SetErrorCode(7);
    wxTEST_DIALOG(Button(ID_CLEAR_DEVICE), ExpectMessage(wxID_OK, U8(ClearQuestion), U8(ClearCaption)));
    EXPECT_EQ(log->Errors(), std::vector<wxString>{U8("Lesen fehlgeschlagen Fehlercode: 7")});
    EXPECT_EQ(logger->EventCount(), 3);
}

// Answers the download's questions as a user who saves nothing: notes every message box and
// says No to saving.
class NoteMessages : public wxModalDialogHook {
public:
    NoteMessages() { Register(); }
    ~NoteMessages() override { Unregister(); }
    std::vector<std::string> texts;

protected:
    int Enter(wxDialog* dialog) override {
        auto* box = dynamic_cast<wxMessageDialog*>(dialog);
        texts.push_back(box ? box->GetMessage().utf8_string() : "(other dialog)");
        return texts.back() == SaveQuestion ? wxID_NO : wxID_OK;
    }
    void Exit(wxDialog*) override {}
};

TEST_F(DownloadTest, ImpossibleEventCountsAreRefused) {
    frame->AppendRecord(Storage(U8("01/01/2023 00:00:00"), 1000, 1, false, 0, 1));
    frame->Records()[0].SetTitle(U8("Alt"));
    ThreeEvents();
    // 180,000 bytes of directory; one entry more than there is room for above the 41-byte block.
    for (int count : {20000, 14559}) {
        logger->CorruptEventCount(static_cast<std::uint16_t>(count));
        frame->SetSaved(true);
        UncoveredLog errors(&progressOpen);
        Button(ID_UPLOAD);
        EXPECT_EQ(errors.errors, (std::vector<std::pair<std::string, int>>{
                                     {"Lesen fehlgeschlagen: Ereignisverzeichnis des Geräts ungültig (" +
                                          std::to_string(count) + " Einträge)",
                                      0}}));
        EXPECT_EQ(Titles(), std::vector<std::string>{"Alt"});
    }
}

// Four events; every kind of damage an entry's end address can show, in every entry alone and in
// every pair of entries. Whatever the damage, no sample is made up, every intact event keeps its
// samples (after those of damaged older neighbours, whose true end nobody knows), a damaged
// event is named in the one message and keeps none, and the logger is not offered for erasing.
TEST_F(DownloadTest, DamagedEntriesCostOnlyTheirOwnEvent) {
    const int sizes[4] = {5, 8, 3, 6};  // oldest first
    std::vector<std::vector<int>> own;  // the flows of each event, oldest first
    for (int e = 0; e < 4; ++e) {
        std::vector<RawSample> samples;
        own.emplace_back();
        for (int k = 0; k < sizes[e]; ++k) {
            samples.push_back({static_cast<std::uint16_t>(1000 * (e + 1) + k), 300});
            own.back().push_back(1000 * (e + 1) + k);
        }
        ASSERT_TRUE(logger->AddEvent({2023, 3, 20 + e, 9, 0, 0}, samples));
    }
    const std::uint32_t q = 41, directoryStart = 0x1FFFF - 4 * 9;
    std::vector<std::uint32_t> ends;  // directory order, newest first
    for (const EventEntry& e : logger->Directory())
        ends.push_back(e.endAddress);
    const auto startOf = [&](int entry) { return entry == 3 ? q : ends[entry + 1]; };
    struct Damage {
        const char* name;
        std::function<std::uint32_t(int entry)> end;
    };
    const Damage damages[] = {
        {"below its start", [&](int entry) { return startOf(entry) - 3; }},
        {"below the block", [](int) { return 40u; }},
        {"inside the directory", [&](int) { return directoryStart + 4; }},
        {"beyond memory", [](int) { return 0x20009u; }},
        {"erased", [](int) { return 0xFFFFFFu; }},
        {"out of order", [&](int entry) { return entry == 3 ? q - 3 : startOf(entry + 1); }},
    };
    struct Case {
        std::vector<std::pair<int, const Damage*>> hits;
    };
    std::vector<Case> cases;
    for (int a = 0; a < 4; ++a) {
        for (const Damage& d : damages)
            cases.push_back({{{a, &d}}});
        for (int b = a + 1; b < 4; ++b)
            for (const Damage& da : damages)
                for (const Damage& db : damages)
                    cases.push_back({{{a, &da}, {b, &db}}});
    }
    int runs = 0;
    for (const Case& c : cases) {
        // The newest event's end inside the directory is a logger that filled its memory: taken up
        // to the directory (its own case below).
        if (std::any_of(c.hits.begin(), c.hits.end(),
                        [&](auto& h) { return h.first == 0 && h.second == &damages[2]; }))
            continue;
        testing::Message trace;
        for (auto& [entry, damage] : c.hits)
            trace << "entry " << entry << " " << damage->name << "; ";
        SCOPED_TRACE(trace);
        for (int i = 0; i < 4; ++i)
            logger->CorruptEndAddress(i, ends[i]);
        std::vector<bool> damaged(4, false);
        for (auto& [entry, damage] : c.hits) {
            logger->CorruptEndAddress(entry, damage->end(entry));
            damaged[entry] = true;
        }
        frame->SetSaved(true);
        NoteMessages messages;
        Button(ID_UPLOAD);
        ++runs;
        ASSERT_EQ(frame->Records().size(), 4u);
        ASSERT_EQ(messages.texts.size(), 2u) << "the damage, then the save question";
        EXPECT_EQ(messages.texts[1], SaveQuestion);
        // Whatever is kept is the logger's samples in their order, nothing made up and nothing
        // skipped, at least up to the end of the newest event whose entry is intact.
        std::vector<int> kept, all;
        std::size_t intactUpTo = 0;
        for (int e = 0; e < 4; ++e) {  // oldest first
            const int entry = 3 - e;
            const Storage& r = frame->Records()[entry];
            for (float f : r.Flows())
                kept.push_back(static_cast<int>(f));
            all.insert(all.end(), own[e].begin(), own[e].end());
            if (!damaged[entry])
                intactUpTo = all.size();
            const bool named =
                messages.texts[0].find("Speicher " + std::to_string(e + 1) + ":") != std::string::npos;
            if (named) {
                EXPECT_EQ(r.SampleCount(), 0) << "Speicher " << e + 1;
            }
            // An end that no layout allows is always found.
            const bool impossible =
                damaged[entry] && std::any_of(c.hits.begin(), c.hits.end(), [&](auto& h) {
                    return h.first == entry && h.second >= &damages[1] && h.second <= &damages[4];
                });
            if (impossible) {
                EXPECT_TRUE(named) << "Speicher " << e + 1;
            }
            if (!damaged[entry]) {
                EXPECT_FALSE(named) << "Speicher " << e + 1;
            }
            // An intact entry after an intact one (or the block) holds exactly its own samples.
            if (!damaged[entry] && (entry == 3 || !damaged[entry + 1])) {
                std::vector<int> flows(kept.end() - r.SampleCount(), kept.end());
                EXPECT_EQ(flows, own[e]) << "Speicher " << e + 1;
            }
        }
        ASSERT_LE(kept.size(), all.size());
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), all.begin())) << "samples out of their order";
        EXPECT_GE(kept.size(), intactUpTo);
        EXPECT_EQ(logger->EventCount(), 4) << "nothing erased";
    }
    EXPECT_EQ(runs, 4 * 6 - 1 + 6 * 36 - 3 * 6);
    for (int i = 0; i < 4; ++i)
        logger->CorruptEndAddress(i, ends[i]);

    // The message, as the user reads it: the damaged event, where its samples went, and that the
    // logger keeps its data.
    logger->CorruptEndAddress(2, 0xFFFFFF);
    frame->SetSaved(true);
    {
        NoteMessages messages;
        Button(ID_UPLOAD);
        ASSERT_EQ(messages.texts.size(), 2u);
        EXPECT_EQ(messages.texts[0],
                  "Das Ereignisverzeichnis des Geräts ist beschädigt.\n"
                  "Speicher 2: Endadresse ungültig, keine Messwerte (sie stehen vor denen von Speicher 3)\n"
                  "Alle anderen Messungen sind vollständig. Die Daten bleiben auf dem Gerät: es wird nicht "
                  "angeboten, den Gerätespeicher zu löschen.");
    }
    // Saved all the same: the save goes through, the erase question does not come.
    const wxString path = wxString::FromUTF8((dir / "beschaedigt").string());
    frame->SetSaved(true);
    wxTEST_DIALOG(Button(ID_UPLOAD), wxExpectAny(wxID_OK),
                  ExpectMessage(wxID_YES, U8(SaveQuestion), U8(SaveCaption)),
                  wxExpectModal<wxFileDialog>(path));
    EXPECT_TRUE(frame->IsSaved());
    EXPECT_EQ(logger->EventCount(), 4);
}

// A logger that ran until its memory was full: the newest entry names an end a few bytes inside
// the directory, and every sample up to the directory is the newest event's.
TEST_F(DownloadTest, AMemoryFilledUpToTheDirectoryIsReadWhole) {
    ASSERT_TRUE(logger->AddEvent({2023, 3, 5, 9, 7, 2}, Ramp(4, 100, 200)));
    const std::uint32_t directoryStart = 0x1FFFF - 2 * 9;
    const int fill = static_cast<int>((directoryStart - (41 + 12)) / 3);
    std::vector<RawSample> full;
    for (int k = 0; k < fill; ++k)
        full.push_back({static_cast<std::uint16_t>(k % 16000), static_cast<std::uint16_t>(300 + k % 500)});
    ASSERT_TRUE(logger->AddEvent({2023, 3, 6, 10, 0, 0}, full));
    logger->CorruptEndAddress(0, directoryStart + 5);
    NoteMessages messages;
    Button(ID_UPLOAD);
    EXPECT_EQ(messages.texts, std::vector<std::string>{SaveQuestion});
    ASSERT_EQ(frame->Records().size(), 2u);
    EXPECT_EQ(frame->Records()[1].SampleCount(), 4);
    ASSERT_EQ(frame->Records()[0].SampleCount(), fill);
    EXPECT_FLOAT_EQ(frame->Records()[0].GetSample(fill - 1).flow, static_cast<float>((fill - 1) % 16000));
}

TEST_F(DownloadTest, UnsavedRecordsAreNotReplacedWithoutAsking) {
    ThreeEvents();
    frame->AppendRecord(Storage(U8("01/01/2023 00:00:00"), 1000, 1, false, 0, 1));
    frame->SetSaved(false);
    logger->ClearTransfers();
    wxTEST_DIALOG(Button(ID_UPLOAD),
                  ExpectMessage(wxID_NO,
                                U8("Die aktuellen Messdaten wurden noch nicht gespeichert. "
                                   "Sollen sie verworfen werden?"),
                                U8("Message")));
    EXPECT_EQ(frame->Records().size(), 1u);
    EXPECT_TRUE(logger->Transfers().empty());
    wxTEST_DIALOG(Button(ID_UPLOAD),
                  ExpectMessage(wxID_YES,
                                U8("Die aktuellen Messdaten wurden noch nicht gespeichert. "
                                   "Sollen sie verworfen werden?"),
                                U8("Message")),
                  ExpectMessage(wxID_NO, U8(SaveQuestion), U8(SaveCaption)));
    EXPECT_EQ(frame->Records().size(), 3u);
}

TEST_F(DownloadTest, DownloadWhileRecordingEndsTheRecording) {
    logger->SetSignal([](double) { return RawSample{10, 200}; });
    Button(ID_RECORD);
    clock.Advance(2.0);
    LiveTick();
    frame->SetSaved(true);
    ThreeEvents();
    Download();
    const int before = frame->Records()[0].SampleCount();
    clock.Advance(2.0);
    LiveTick();  // the live record is gone with the old set: no samples into "Speicher 3"
    EXPECT_EQ(frame->Records()[0].SampleCount(), before);
    EXPECT_FALSE(frame->LiveTimer().IsRunning());
}
