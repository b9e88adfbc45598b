#include "acquisition/recovery_journal.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

void Spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Makes a file look as if it was last written `age` ago.
void Age(const std::string& path, std::chrono::seconds age) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

std::vector<std::string> JournalFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A live record as the record command makes it: a metric logger in m³/h at 100 ms, bar.
Storage LiveRecord() {
    Storage live(U8("24/03/2023 13:05:09"), 100, 1, false, 2, 0);
    live.SetPressureCalibration(104, 2, 26, 98);
    live.SetTitle(U8("Verbunden 1"));
    live.SetSerialNumber(2417);
    return live;
}
const recovery::Calibration Cal{104, 2, 26, 98};

void ExpectSameSamples(const Storage& got, const Storage& want, int samples);

void ExpectSameRecord(const Storage& got, const Storage& want, int samples) {
    EXPECT_EQ(got.Title(), want.Title());
    EXPECT_EQ(got.DateText(), want.DateText());
    EXPECT_EQ(got.Subtitle(), want.Subtitle());
    EXPECT_EQ(got.NoteText(), want.NoteText());
    EXPECT_EQ(got.NoteX(), want.NoteX());
    EXPECT_EQ(got.NoteY(), want.NoteY());
    EXPECT_EQ(got.TargetFlow(), want.TargetFlow());
    EXPECT_EQ(got.SerialNumber(), want.SerialNumber());
    EXPECT_EQ(got.IntervalMs(), want.IntervalMs());
    EXPECT_EQ(got.UnitSystem(), want.UnitSystem());
    EXPECT_EQ(got.FlowUnit(), want.FlowUnit());
    EXPECT_EQ(got.PressureUnit(), want.PressureUnit());
    ExpectSameSamples(got, want, samples);
}

void ExpectSameSamples(const Storage& got, const Storage& want, int samples) {
    ASSERT_EQ(got.SampleCount(), samples);
    auto first = [samples](const std::vector<float>& v) {
        return std::vector<float>(v.begin(), v.begin() + samples);
    };
    // Bit for bit: the record is rebuilt from the logger's own readings.
    EXPECT_EQ(got.Times(), first(want.Times()));
    EXPECT_EQ(got.Flows(), first(want.Flows()));
    EXPECT_EQ(got.Pressures(), first(want.Pressures()));
    EXPECT_EQ(got.Volumes(), first(want.Volumes()));
}

// Three live ticks into a journal, with the texts changed on the way; the journal is closed
// without being removed, as a crash leaves it. The record as it stood at the end is `live`.
struct WrittenJournal {
    ScratchDir dir;
    Storage live = LiveRecord();
    std::string path, bytes;

    WrittenJournal() {
        auto journal = recovery::Journal::Create((dir.path / "zpm").string(), live, Cal);
        EXPECT_NE(journal, nullptr);
        if (!journal)
            return;
        path = journal->Path();
        auto tick = [&](std::vector<RawSample> samples) {
            for (const RawSample& s : samples)
                live.AddRawSample(s.flow, s.pressure);
            journal->Append(samples, live);
        };
        tick({{16383, 1023}, {0, 0}, {564, 773}});
        live.SetTitle(U8("Hydrant 7\tNord \\ Süd"));
        live.SetNoteText(U8("Zeile 1\nZeile 2\r\n„Ende“"));
        live.SetNotePosition(-12, 34);
        tick({});
        tick({{600, 760}, {601, 761}, {602, 762}, {603, 763}});
        live.SetSubtitle(U8("B-Schlauch"));
        live.SetTargetFlow(0.1f);
        tick({{1, 2}});
        journal.reset();
        bytes = FileBytes(path);
    }
};

}  // namespace

TEST(RecoveryJournal, EveryCutOfAJournalGivesBackItsCompleteSamples) {
    WrittenJournal w;
    ASSERT_FALSE(w.bytes.empty());
    const recovery::Content whole = recovery::Parse(w.bytes);
    ASSERT_TRUE(whole.record);
    EXPECT_FALSE(whole.damaged);
    ExpectSameRecord(*whole.record, w.live, 8);

    // Where the lines end, and what each complete line brings.
    std::vector<std::size_t> sampleEnds, lineEnds;
    std::size_t headerEnd = 0, renamedEnd = 0;
    int titles = 0;
    for (std::size_t pos = 0, end; (end = w.bytes.find('\n', pos)) != std::string::npos; pos = end + 1) {
        lineEnds.push_back(end + 1);
        if (w.bytes.compare(pos, 2, "s ") == 0)
            sampleEnds.push_back(end + 1);
        if (w.bytes.compare(pos, 6, "title ") == 0)  // the first ends the top part, the second renames
            (++titles == 1 ? headerEnd : renamedEnd) = end + 1;
    }
    ASSERT_EQ(sampleEnds.size(), 8u);
    ASSERT_GT(renamedEnd, 0u);

    for (std::size_t cut = 0; cut < w.bytes.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut after " << cut << " of " << w.bytes.size() << " bytes");
        const recovery::Content c = recovery::Parse(w.bytes.substr(0, cut));
        const bool onLineEnd = cut == 0 || std::count(lineEnds.begin(), lineEnds.end(), cut) == 1;
        EXPECT_EQ(c.damaged, !onLineEnd);
        if (cut < headerEnd) {
            EXPECT_FALSE(c.record);
            continue;
        }
        ASSERT_TRUE(c.record);
        const int complete = static_cast<int>(
            std::count_if(sampleEnds.begin(), sampleEnds.end(), [cut](std::size_t e) { return e <= cut; }));
        EXPECT_EQ(c.record->SampleCount(), complete);
        ExpectSameSamples(*c.record, w.live, complete);
        EXPECT_EQ(c.record->Title(), cut >= renamedEnd ? w.live.Title() : U8("Verbunden 1"));
        EXPECT_LE(c.validLength, cut);
    }
}

TEST(RecoveryJournal, DamageStopsAtTheFirstBadLine) {
    WrittenJournal w;
    ASSERT_FALSE(w.bytes.empty());
    const std::size_t fifthSample = [&] {
        std::size_t at = 0;
        for (int i = 0; i < 5; ++i)
            at = w.bytes.find("\ns ", at) + 1;
        return at;
    }();
    struct Case {
        const char* what;
        std::function<std::string(std::string)> damage;
        int samples;  // -1: no record
    };
    const Case cases[] = {
        {"a flipped bit in the fifth sample",
         [&](std::string b) {
             b[fifthSample + 2] ^= 0x01;
             return b;
         },
         4},
        {"a line end lost",
         [&](std::string b) {
             b.erase(w.bytes.find('\n', fifthSample), 1);
             return b;
         },
         4},
        {"zeros after the end (power loss)", [](std::string b) { return b + std::string(4096, '\0'); }, 8},
        {"a line with a bad checksum at the end", [](std::string b) { return b + "s 1 2\t00000000\n"; }, 8},
        {"garbage at the top", [](std::string b) { return "x" + b; }, -1},
        {"nothing", [](std::string) { return std::string(); }, -1},
        {"not a journal at all", [](std::string) { return std::string(100000, 'a'); }, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const recovery::Content got = recovery::Parse(c.damage(w.bytes));
        EXPECT_TRUE(got.damaged || c.samples == -1);
        if (c.samples < 0) {
            EXPECT_FALSE(got.record);
            continue;
        }
        ASSERT_TRUE(got.record);
        ExpectSameSamples(*got.record, w.live, c.samples);
    }
}

TEST(RecoveryJournal, OnlyJournalsOfEndedProgramsAreClaimed) {
    ScratchDir dir;
    const std::string folder = (dir.path / "zpm").string();
    Storage running = LiveRecord(), ended = LiveRecord(), empty = LiveRecord();
    ended.SetTitle(U8("Beendet"));

    auto runningJournal = recovery::Journal::Create(folder, running, Cal);
    auto endedJournal = recovery::Journal::Create(folder, ended, Cal);
    auto emptyJournal = recovery::Journal::Create(folder, empty, Cal);
    ASSERT_TRUE(runningJournal && endedJournal && emptyJournal);
    EXPECT_NE(runningJournal->Path(), endedJournal->Path());  // one program, one file per record
    const std::vector<RawSample> samples{{100, 500}, {200, 600}};
    for (const RawSample& s : samples) {
        running.AddRawSample(s.flow, s.pressure);
        ended.AddRawSample(s.flow, s.pressure);
    }
    runningJournal->Append(samples, running);
    endedJournal->Append(samples, ended);
    const std::string endedPath = endedJournal->Path(), emptyPath = emptyJournal->Path();
    endedJournal.reset();  // its program is gone, the lock with it
    emptyJournal.reset();
    // Left over from a program that died while making a journal, and things that only look like one.
    Spit(folder + "/.live-1-0.tmp", "ZPM-LIVE");
    Age(folder + "/.live-1-0.tmp", std::chrono::minutes(2));
    Spit(folder + "/.live-4-0.tmp", "ZPM-LIVE");  // being made this moment by a program just started
    // Set aside as damaged: kept for thirty days.
    Spit(folder + "/live-5-0.zpmlive.damaged", "kaputt");
    Spit(folder + "/live-6-0.zpmlive.damaged", "kaputt");
    Age(folder + "/live-6-0.zpmlive.damaged", std::chrono::hours(24 * 31));
    ASSERT_EQ(::mkfifo((folder + "/live-2-0.zpmlive").c_str(), 0600), 0);
    fs::create_directory(folder + "/live-3-0.zpmlive");
    Spit(folder + "/notes.txt", "nichts");

    const auto started = std::chrono::steady_clock::now();
    std::vector<recovery::Abandoned> found = recovery::ClaimAbandoned(folder);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));  // the FIFO did not block
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].journal->Path(), endedPath);
    ASSERT_TRUE(found[0].record);
    EXPECT_FALSE(found[0].damaged);
    ExpectSameRecord(*found[0].record, ended, 2);
    EXPECT_FALSE(fs::exists(emptyPath));  // nothing recorded: nothing to offer
    EXPECT_FALSE(fs::exists(folder + "/.live-1-0.tmp"));

    // While this program holds it, a second start finds nothing either.
    EXPECT_TRUE(recovery::ClaimAbandoned(folder).empty());

    // Taken over with damage: new lines follow the last complete one, and the file reads clean.
    found[0].journal.reset();
    Spit(endedPath, FileBytes(endedPath) + "s 12" + std::string(4096, '\0'));  // half a line, then zeros
    found = recovery::ClaimAbandoned(folder);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(found[0].damaged);
    ended.SetTitle(U8("Wiederhergestellt"));
    found[0].journal->Append({}, ended);
    found[0].journal.reset();  // what was appended is in the file when it is closed
    const recovery::Content reread = recovery::Parse(FileBytes(endedPath));
    EXPECT_FALSE(reread.damaged);
    ASSERT_TRUE(reread.record);
    ExpectSameRecord(*reread.record, ended, 2);

    found = recovery::ClaimAbandoned(folder);
    ASSERT_EQ(found.size(), 1u);
    found[0].journal->Remove();
    runningJournal->Remove();
    EXPECT_EQ(JournalFiles(folder),
              (std::vector<std::string>{".live-4-0.tmp", "live-2-0.zpmlive", "live-3-0.zpmlive",
                                        "live-5-0.zpmlive.damaged", "notes.txt"}));
}

TEST(RecoveryJournal, FolderFollowsTheDesktopDataHome) {
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string before = saved ? saved : "";
    setenv("XDG_DATA_HOME", "/srv/daten", 1);
    EXPECT_EQ(recovery::JournalFolder(), "/srv/daten/zpm");
    setenv("XDG_DATA_HOME", "relativ", 1);  // not absolute: ignored, as the desktop rules say
    EXPECT_EQ(recovery::JournalFolder(), std::string(std::getenv("HOME")) + "/.local/share/zpm");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(recovery::JournalFolder(), std::string(std::getenv("HOME")) + "/.local/share/zpm");
    if (saved)
        setenv("XDG_DATA_HOME", before.c_str(), 1);
}

// A recording of hours: its journal is longer than one piece of the reading, lines lie across
// the pieces' borders, and every sample comes back.
TEST(RecoveryJournal, AJournalLongerThanOneReadingPieceIsTakenOverWhole) {
    ScratchDir dir;
    const std::string folder = (dir.path / "zpm").string();
    Storage live = LiveRecord();
    auto journal = recovery::Journal::Create(folder, live, Cal);
    ASSERT_TRUE(journal);
    const std::string path = journal->Path();
    for (int tick = 0; tick < 2000; ++tick) {
        std::vector<RawSample> samples;
        for (int i = 0; i < 60; ++i)
            samples.push_back({static_cast<std::uint16_t>((tick * 61 + i * 7) % 16384),
                               static_cast<std::uint16_t>((tick + i * 13) % 1024)});
        for (const RawSample& s : samples)
            live.AddRawSample(s.flow, s.pressure);
        journal->Append(samples, live);
    }
    journal.reset();                                          // as a crash leaves it
    ASSERT_GT(fs::file_size(path), std::uintmax_t{2} << 20);  // more than two pieces of 1 MiB
    std::vector<recovery::Abandoned> found = recovery::ClaimAbandoned(folder);
    ASSERT_EQ(found.size(), 1u);
    ASSERT_TRUE(found[0].record);
    EXPECT_FALSE(found[0].damaged);
    ExpectSameRecord(*found[0].record, live, live.SampleCount());
}
