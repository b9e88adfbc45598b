// The recovery journal of a live recording as the main window keeps it, and the question at start.
#include "acquisition_fixture.h"

#include "acquisition/recovery_journal.h"
#include "device/protocol.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace fs = std::filesystem;

namespace {

class RecoveryTest : public AcquisitionTest {
protected:
    // Each case finds the journal folder empty and leaves it so: what one case leaves (a journal set
    // aside as damaged) is no other case's business.
    void SetUp() override {
        AcquisitionTest::SetUp();
        fs::remove_all(JournalFolderPath());
        SetLoggerRate(0xFE67);  // 100 ms
    }
    void TearDown() override {
        AcquisitionTest::TearDown();
        fs::remove_all(JournalFolderPath());
    }
    // One live tick bringing exactly n samples of a moving signal.
    void TickWith(int n) {
        std::vector<RawSample> samples;
        for (int i = 0; i < n; ++i)
            samples.push_back(
                {static_cast<std::uint16_t>(100 + 7 * next), static_cast<std::uint16_t>(300 + next % 50)});
        ++next;
        logger->QueueLiveSamples(samples);
        LiveTick();
    }
    static std::vector<std::string> Journals() {
        std::vector<std::string> paths;
        if (fs::exists(JournalFolderPath()))
            for (const auto& e : fs::directory_iterator(JournalFolderPath()))
                paths.push_back(e.path().string());
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    static recovery::Content Read(const std::string& path) { return recovery::Parse(ReadTextFile(path)); }
    // The journal once its writer has put down what `holds` looks for (it writes off the window's
    // thread), within five seconds.
    static recovery::Content ReadWhen(const std::string& path,
                                      const std::function<bool(const recovery::Content&)>& holds) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        recovery::Content c = Read(path);
        while (!(c.record && holds(c)) && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            c = Read(path);
        }
        return c;
    }
    static recovery::Content ReadWithSamples(const std::string& path, int samples) {
        return ReadWhen(path,
                        [samples](const recovery::Content& c) { return c.record->SampleCount() == samples; });
    }
    int next = 0;
};

void ExpectSameRecord(const Storage& got, const Storage& want) {
    EXPECT_EQ(got.Title(), want.Title());
    EXPECT_EQ(got.DateText(), want.DateText());
    EXPECT_EQ(got.SerialNumber(), want.SerialNumber());
    EXPECT_EQ(got.IntervalMs(), want.IntervalMs());
    EXPECT_EQ(got.PressureUnit(), want.PressureUnit());
    EXPECT_EQ(got.Times(), want.Times());
    EXPECT_EQ(got.Flows(), want.Flows());
    EXPECT_EQ(got.Pressures(), want.Pressures());
    EXPECT_EQ(got.Volumes(), want.Volumes());
}

}  // namespace

TEST_F(RecoveryTest, JournalGuardsTheLiveRecordUntilItIsSavedLeavesOrTheProgramEnds) {
    Button(ID_RECORD);
    ASSERT_EQ(Journals().size(), 1u);
    const std::string journal = Journals()[0];
    TickWith(10);
    TickWith(0);
    TickWith(3);
    const Storage& live = frame->Records()[0];
    ASSERT_EQ(live.SampleCount(), 13);
    recovery::Content c = ReadWithSamples(journal, 13);
    ASSERT_TRUE(c.record);
    EXPECT_FALSE(c.damaged);
    ExpectSameRecord(*c.record, live);

    // Renamed while it records: the journal has the new title by the next status tick.
    frame->Records()[0].SetTitle(U8("Hydrant Süd"));
    StatusTick();
    EXPECT_EQ(
        ReadWhen(journal, [](const recovery::Content& c) { return c.record->Title() == U8("Hydrant Süd"); })
            .record->Title(),
        U8("Hydrant Süd"));

    // Saved while it records: what comes after the save still needs the journal.
    const std::string job = TestHome() + "/job.kvr";
    wxTEST_DIALOG(Command(ID_SAVE_JOB), wxExpectModal<wxFileDialog>(U8(job.c_str())));
    ASSERT_TRUE(frame->IsSaved());
    EXPECT_EQ(Journals(), std::vector<std::string>{journal});
    TickWith(2);
    Button(ID_STOP);
    EXPECT_EQ(Journals(), std::vector<std::string>{journal});
    EXPECT_EQ(ReadWithSamples(journal, 15).record->SampleCount(), 15);
    // Saved once it has stopped: done.
    Command(ID_SAVE_JOB);
    EXPECT_TRUE(Journals().empty());

    // A recording deleted from the list takes its journal along; the others keep theirs.
    Button(ID_RECORD);
    TickWith(4);
    Button(ID_STOP);
    Button(ID_RECORD);
    TickWith(5);
    ASSERT_EQ(Journals().size(), 2u);
    frame->EraseRecord(1);
    ASSERT_EQ(Journals().size(), 1u);
    EXPECT_EQ(ReadWithSamples(Journals()[0], 5).record->SampleCount(), 5);

    // The program ends normally (after the close question, if any): nothing is left behind.
    frame->SetSaved(true);
    DestroyNow(frame);
    frame = nullptr;
    EXPECT_TRUE(Journals().empty());
    EXPECT_TRUE(log->Errors().empty());
}

TEST_F(RecoveryTest, AnAbandonedRecordingIsOfferedBackAtStart) {
    struct Case {
        const char* what;
        int answer;
        bool cut;  // the journal ends in half a line
    };
    const Case cases[] = {
        {"yes", wxID_YES, false},
        {"no", wxID_NO, false},
        {"yes to a journal cut short", wxID_YES, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        // A recording runs in this window; a copy of its journal stands for one whose program was
        // killed. The running one's own journal is not offered: its program still holds it.
        frame->ClearRecords();
        Button(ID_RECORD);
        for (int i = 0; i < 3; ++i)
            TickWith(10);
        ASSERT_EQ(Journals().size(), 1u);
        const std::string abandoned = JournalFolderPath() + "/live-999999-0.zpmlive";
        ReadWithSamples(Journals()[0], 30);
        std::string bytes = ReadTextFile(Journals()[0]);
        if (k.cut)
            bytes.resize(bytes.size() - 4);
        std::ofstream(abandoned, std::ios::binary) << bytes;
        Storage expected = frame->Records()[0];
        const int before = static_cast<int>(frame->Records().size());
        frame->SetSaved(true);

        const wxString text =
            k.cut ? U8("Eine Live-Aufzeichnung wurde nicht beendet: „Verbunden %d“, begonnen %s, Dauer "
                       "00:00:02, 29 Messpunkte.\n\nIhre Wiederherstellungsdatei ist beschädigt; alle "
                       "vollständig gesicherten Messpunkte bis zur beschädigten Stelle können "
                       "wiederhergestellt werden.\n\nSoll die Aufzeichnung wiederhergestellt werden?")
                  : U8("Eine Live-Aufzeichnung wurde nicht beendet: „Verbunden %d“, begonnen %s, Dauer "
                       "00:00:03, 30 Messpunkte.\n\nSoll die Aufzeichnung wiederhergestellt werden?");
        wxTEST_DIALOG(frame->OfferRecovery(),
                      ExpectMessage(k.answer, wxString::Format(text, before, expected.DateText()),
                                    U8("Wiederherstellen")));
        Button(ID_STOP);

        if (k.answer == wxID_NO) {
            EXPECT_EQ(static_cast<int>(frame->Records().size()), before);
            EXPECT_FALSE(fs::exists(abandoned));
        } else {
            ASSERT_EQ(static_cast<int>(frame->Records().size()), before + 1);
            const Storage& got = frame->Records()[0];
            EXPECT_EQ(got.SampleCount(), k.cut ? 29 : 30);
            if (!k.cut)
                ExpectSameRecord(got, expected);
            EXPECT_EQ(
                std::vector<float>(got.Flows()),
                std::vector<float>(expected.Flows().begin(), expected.Flows().begin() + got.SampleCount()));
            EXPECT_FALSE(frame->IsSaved());
            // It stays guarded until it is saved: a second start finds nothing to offer meanwhile.
            EXPECT_TRUE(fs::exists(abandoned));
            EXPECT_TRUE(recovery::ClaimAbandoned(JournalFolderPath()).empty());
        }
        frame->OfferRecovery();  // nothing further is asked (a dialog would fail the test)
        frame->SetSaved(true);
    }
    EXPECT_TRUE(log->Errors().empty());
}

TEST_F(RecoveryTest, AJournalWithUnreadableSettingsIsSetAsideAndReported) {
    fs::create_directories(JournalFolderPath());
    const std::string path = JournalFolderPath() + "/live-999999-0.zpmlive";
    std::ofstream(path, std::ios::binary) << "ZPM-LIVE 1\tkaputt\ns 1 2\t12345678\n";
    frame->OfferRecovery();  // no question: nothing to offer
    EXPECT_TRUE(frame->Records().empty());
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::exists(path + ".damaged"));
    ASSERT_EQ(log->Errors().size(), 1u);
    EXPECT_EQ(log->Errors()[0],
              U8("Eine Live-Aufzeichnung wurde nicht beendet, aber ihre Wiederherstellungsdatei "
                 "ist unlesbar. Sie liegt unter ") +
                  U8((path + ".damaged").c_str()) + U8("."));
}

// A journal that cannot be made, or whose writes keep failing, is told once; the recording goes on.
TEST_F(RecoveryTest, AnUnprotectedRecordingIsToldOnceAndGoesOn) {
    const wxString told = U8(
        "Die Wiederherstellungsdatei der Live-Aufzeichnung kann nicht geschrieben werden. Die Aufzeichnung "
        "läuft weiter, ist aber nicht gegen einen Absturz des Programms oder des Computers geschützt: "
        "speichern Sie sie, sobald sie beendet ist.");
    // The data folder lies under a file: no journal can be made.
    const std::string saved = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    std::ofstream(TestHome() + "/kein-ordner") << "x";
    ::setenv("XDG_DATA_HOME", (TestHome() + "/kein-ordner").c_str(), 1);
    Button(ID_RECORD);
    TickWith(4);
    TickWith(3);
    EXPECT_EQ(log->Errors(), std::vector<wxString>{told});
    EXPECT_EQ(frame->Records()[0].SampleCount(), 7);
    Button(ID_STOP);
    if (saved.empty())
        ::unsetenv("XDG_DATA_HOME");
    else
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    log->Clear();

    // The disk refuses the file to grow (as when it is full): told once, after a few tries.
    const std::vector<std::string> earlier = Journals();
    Button(ID_RECORD);
    std::vector<std::string> made;
    for (const std::string& j : Journals())
        if (std::find(earlier.begin(), earlier.end(), j) == earlier.end())
            made.push_back(j);
    ASSERT_EQ(made.size(), 1u);
    const std::string journal = made[0];
    TickWith(2);
    ReadWithSamples(journal, 2);
    int ticks = 0;
    {
        const FileSizeLimit full(fs::file_size(journal));
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (log->Errors().empty() && std::chrono::steady_clock::now() < until) {
            TickWith(1);
            ++ticks;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        for (int i = 0; i < 5; ++i)
            TickWith(1);
    }
    EXPECT_EQ(log->Errors(), std::vector<wxString>{told});
    EXPECT_EQ(frame->Records()[0].SampleCount(), 2 + ticks + 5);
    // Once the disk takes it again, what was held back reaches the file.
    TickWith(1);
    EXPECT_EQ(ReadWithSamples(journal, 8 + ticks).record->SampleCount(), 8 + ticks);
    Button(ID_STOP);
}
