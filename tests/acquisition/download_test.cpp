#include "acquisition_fixture.h"

#include "device/protocol.h"

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/toplevel.h>

#include <cstdlib>
#include <filesystem>

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
        dir = std::filesystem::temp_directory_path() / ("zpm-download-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        AcquisitionTest::TearDown();
        std::filesystem::remove_all(dir);
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
    std::filesystem::path dir;
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
    logger->SetFirmwareWord(0x0402);
    SettingsBlock b = logger->Settings();
    b.sampleRateRegister = 0xF000;
    b.stateFlags = 1;
    b.pressureZero = 100;
    b.pressureScale = 1;
    b.pressureUnit = 112;
    logger->SetSettings(b);
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

TEST_F(DownloadTest, FailedReadsLeaveThePreviousRecords) {
    frame->AppendRecord(Storage(U8("01/01/2023 00:00:00"), 1000, 1, false, 0, 1));
    frame->Records()[0].SetTitle(U8("Alt"));
    frame->SetSaved(true);
    ThreeEvents();
    // The block is one chunk; the directory read after it fails.
    logger->Plan({emu::Fault::Stall, logger::ReqReadMemory, 1, 1, 0});
    {
        UncoveredLog errors(&progressOpen);
        Button(ID_UPLOAD);
        EXPECT_EQ(errors.errors,
                  (std::vector<std::pair<std::string, int>>{{"USB-Verbindung fehlgeschlagen", 0}}));
    }
    EXPECT_EQ(Titles(), std::vector<std::string>{"Alt"});
    EXPECT_EQ(progressOpened, 1);

    // No logger at all: the block read fails before anything else, before any progress window.
    logger->Unplug();
    {
        UncoveredLog errors(&progressOpen);
        Button(ID_UPLOAD);
        EXPECT_EQ(errors.errors,
                  (std::vector<std::pair<std::string, int>>{{"USB-Verbindung fehlgeschlagen", 0}}));
    }
    EXPECT_EQ(Titles(), std::vector<std::string>{"Alt"});
    EXPECT_EQ(progressOpened, 1);
}

TEST_F(DownloadTest, CorruptDirectoriesAreRefused) {
    frame->AppendRecord(Storage(U8("01/01/2023 00:00:00"), 1000, 1, false, 0, 1));
    frame->Records()[0].SetTitle(U8("Alt"));
    ThreeEvents();
    // Samples lie between the 41-byte block and the directory, which holds three entries of nine
    // bytes below the top of memory (0x1FFFF): from address 41 up to 131044.
    const std::uint32_t directoryStart = 0x1FFFF - 3 * 9;
    const std::uint32_t newestEnd = logger->Directory()[0].endAddress;
    const std::uint32_t oldestEnd = logger->Directory()[2].endAddress;
    const struct {
        int eventCount;  // written into the block
        int entry;       // whose end address is changed (-1: none)
        std::uint32_t end;
        const char* refusal;  // nullptr: downloaded
    } cases[] = {
        {20000, -1, 0, "(20000 Einträge)"},      // 180,000 bytes of directory cannot fit
        {14559, -1, 0, "(14559 Einträge)"},      // one entry more than room above the block
        {3, 0, 0x1FFF0, "(Endadresse 131056)"},  // inside the directory
        {3, 0, directoryStart + 1, "(Endadresse 131045)"},
        {3, 0, directoryStart, nullptr},  // samples up to the directory's first byte
        {3, 2, 40, "(Endadresse 40)"},    // inside the block
        {3, 2, 41, nullptr},              // an oldest event without samples
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.eventCount << " " << c.entry << " " << c.end);
        logger->CorruptEventCount(3);
        logger->CorruptEndAddress(0, newestEnd);
        logger->CorruptEndAddress(2, oldestEnd);
        logger->CorruptEventCount(static_cast<std::uint16_t>(c.eventCount));
        if (c.entry >= 0)
            logger->CorruptEndAddress(c.entry, c.end);
        frame->SetSaved(true);
        UncoveredLog errors(&progressOpen);
        if (c.refusal) {
            Button(ID_UPLOAD);
            EXPECT_EQ(errors.errors,
                      (std::vector<std::pair<std::string, int>>{
                          {std::string("Lesen fehlgeschlagen: Ereignisverzeichnis des Geräts ungültig ") +
                               c.refusal,
                           0}}));
            EXPECT_EQ(Titles(), std::vector<std::string>{"Alt"});
        } else {
            Download();
            EXPECT_TRUE(errors.errors.empty());
            ASSERT_EQ(frame->Records().size(), 3u);
            const int oldest = frame->Records()[2].SampleCount();
            EXPECT_EQ(oldest, c.entry == 2 ? 0 : 5);
            // The newest event ends at the directory: the rest of the sample area is its own.
            if (c.entry == 0) {
                EXPECT_EQ(frame->Records()[0].SampleCount(),
                          static_cast<int>(directoryStart - oldestEnd) / 3);
            }
            frame->Records().clear();
            frame->AppendRecord(Storage(U8("01/01/2023 00:00:00"), 1000, 1, false, 0, 1));
            frame->Records()[0].SetTitle(U8("Alt"));
            frame->RefreshRecordList();
        }
        EXPECT_EQ(logger->EventCount(), c.eventCount);
    }
    logger->CorruptEventCount(3);
    logger->CorruptEndAddress(0, newestEnd);
    logger->CorruptEndAddress(2, oldestEnd);

    // Two events ending at the same address: the newer one simply has no samples.
    log->Clear();
    frame->SetSaved(true);
    logger->CorruptEndAddress(0, oldestEnd + 3);
    logger->CorruptEndAddress(1, oldestEnd + 3);
    Download();
    EXPECT_TRUE(log->Errors().empty());
    ASSERT_EQ(frame->Records().size(), 3u);
    EXPECT_EQ(frame->Records()[2].SampleCount(), 5);
    EXPECT_EQ(frame->Records()[1].SampleCount(), 1);
    EXPECT_EQ(frame->Records()[0].SampleCount(), 0);

    // An end below its start gives no samples, and nothing is read beyond the newest event's end.
    frame->SetSaved(true);
    logger->CorruptEndAddress(0, oldestEnd);
    Download();
    EXPECT_TRUE(log->Errors().empty());
    ASSERT_EQ(frame->Records().size(), 3u);
    EXPECT_EQ(frame->Records()[2].SampleCount(), 5);
    EXPECT_EQ(frame->Records()[1].SampleCount(), 0);
    EXPECT_EQ(frame->Records()[0].SampleCount(), 0);
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
