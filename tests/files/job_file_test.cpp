#include "files/job_file.h"
#include "plot/plot_math.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string WriteText(const std::vector<Storage>& records) {
    std::ostringstream out(std::ios::binary);
    EXPECT_TRUE(jobfile::Write(out, records));
    return out.str();
}

jobfile::ReadResult ReadText(const std::string& text) {
    std::istringstream in(text, std::ios::binary);
    return jobfile::Read(in);
}

// The value a float comes back as after "%f" and scanf.
float ThroughSixDecimals(float v) {
    char buf[128];
    const int n = std::snprintf(buf, sizeof buf, "%f", static_cast<double>(v));
    float back = 0;
    std::from_chars(buf, buf + n, back);
    return back;
}

Storage Record(const char* title, const char* date, int intervalMs, int unitSystem) {
    Storage r(U8(date), intervalMs, unitSystem, false, 0, 1);
    r.SetTitle(U8(title));
    return r;
}

std::string Crlf(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

TEST(JobFileWrite, WritesThe480000LayoutExactly) {
    Storage a = Record("Messung 1", "24/03/2023 14:05:09", 1000, 1);
    a.SetSubtitle(U8("Pumpe Süd"));
    a.SetSerialNumber(1234);
    a.SetNoteText(U8("Hi\nä"));
    a.SetNotePosition(10, -20);
    a.SetTargetFlow(0.5f);
    a.SetPressureUnit(98);
    a.AddSample(1.0f, 12.5f, 1.25f, 0.208333f);
    a.AddSample(2.0f, 13.0f, 1.5f, 0.425f);
    a.SetFlowUnit(2);  // values in m³/h: each record's line names its own unit

    Storage b(U8(""), 500, 0, true, 0, 2);  // empty title, texts and text box, no samples
    b.SetTitle(U8(""));
    b.SetPressureUnit(112);

    const std::string expected =
        "480000\n2\n"
        "Messung 1\n24/03/2023 14:05:09\nPumpe S\xFC"
        "d\n1234\n"
        "72 105 10 228 0 \n10 -20\n0.500000\n1000\n98\n1 2\n0\n2\n"
        "1.000000 12.500000 1.250000 0.208333\n"
        "2.000000 13.000000 1.500000 0.425000\n"
        "-\n\n\n0\n0 \n0 0\n0.000000\n500\n112\n0 0\n1\n0\n";
    EXPECT_EQ(WriteText({a, b}), expected);
    EXPECT_EQ(WriteText({}), "480000\n0\n");
}

TEST(JobFileRoundTrip, GivesTheSameRecordsToSixDecimals) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<float> value(-5000.0f, 5000.0f);
    std::vector<Storage> records;
    struct Texts {
        const char *title, *date, *subtitle, *note;
    } texts[] = {
        {"Messung 1", "24/03/2023 14:05:09", "Pumpe Süd", ""},
        {"Speicher 2", "5/03/2023 9:07:02", "", "Zeile 1\nZeile 2\r\nZeile 3 ☺ 😀"},
        {"Verbunden 3 – 5 m³", "kein Datum", "Ü, ß & ÿ", "0"},
    };
    int n = 0;
    for (const Texts& t : texts) {
        Storage r(U8(t.date), 100 * (n + 1), n % 2, n == 1, 0, n + 1);
        r.SetTitle(U8(t.title));
        r.SetSubtitle(U8(t.subtitle));
        r.SetNoteText(U8(t.note));
        r.SetNotePosition(n * 37, -n);
        r.SetTargetFlow(n == 0 ? 0.0f : value(rng));
        r.SetSerialNumber(n * 1000 + 7);
        r.SetPressureUnit(n == 0 ? 98 : n == 1 ? 8 : 16);
        for (int i = 0; i < 1000 * n; ++i)
            r.AddSample(i * 0.1f, value(rng), value(rng), value(rng));
        r.SetFlowUnit(n);  // l/min, l/s, m³/h side by side in one job
        records.push_back(r);
        ++n;
    }
    const jobfile::ReadResult back = ReadText(WriteText(records));
    EXPECT_FALSE(back.damaged) << back.problem;
    EXPECT_EQ(back.layout, 480000);
    ASSERT_EQ(back.records.size(), records.size());
    for (std::size_t k = 0; k < records.size(); ++k) {
        const Storage& w = records[k];
        const Storage& r = back.records[k];
        SCOPED_TRACE(k);
        // Characters beyond ISO 8859-1 in the one-byte lines come back as "?".
        EXPECT_EQ(r.Title(), k == 2 ? U8("Verbunden 3 ? 5 m³") : w.Title());
        EXPECT_EQ(r.DateText(), w.DateText());
        EXPECT_EQ(r.FlowUnit(), w.FlowUnit());
        EXPECT_EQ(r.Subtitle(), w.Subtitle());
        EXPECT_EQ(r.NoteText(), w.NoteText());  // the text box keeps every character
        EXPECT_EQ(r.NoteX(), w.NoteX());
        EXPECT_EQ(r.NoteY(), w.NoteY());
        EXPECT_EQ(r.TargetFlow(), ThroughSixDecimals(w.TargetFlow()));
        EXPECT_EQ(r.SerialNumber(), w.SerialNumber());
        EXPECT_EQ(r.IntervalMs(), w.IntervalMs());
        EXPECT_EQ(r.UnitSystem(), w.UnitSystem());
        EXPECT_EQ(r.SpareFlag(), w.SpareFlag());
        EXPECT_EQ(r.PressureUnit(), w.PressureUnit());
        EXPECT_EQ(r.StartTime().IsValid(), w.StartTime().IsValid());
        ASSERT_EQ(r.SampleCount(), w.SampleCount());
        for (int i = 0; i < r.SampleCount(); ++i) {
            const auto a = w.GetSample(i), b = r.GetSample(i);
            ASSERT_EQ(b.time, ThroughSixDecimals(a.time)) << i;
            ASSERT_EQ(b.flow, ThroughSixDecimals(a.flow)) << i;
            ASSERT_EQ(b.pressure, ThroughSixDecimals(a.pressure)) << i;
            ASSERT_EQ(b.volume, ThroughSixDecimals(a.volume)) << i;
        }
    }
    EXPECT_TRUE(back.settings.flowUnitSet);
    EXPECT_EQ(back.settings.flowUnit, 2);  // the last record's, for the records made next
    EXPECT_TRUE(back.settings.unitsSet);
    EXPECT_EQ(back.settings.unitSystem, 0);  // the last record's
    EXPECT_EQ(back.settings.pressureUnit, 16);
    EXPECT_TRUE(back.settings.syncFlowUnitMarks);
}

// Property: whatever record set the program holds and whatever flow unit setting the settings file
// gave it, the file written reads back without damage and writes again to the same bytes.
TEST(JobFileRoundTrip, EverythingWrittenReadsBackCleanAndWritesTheSameBytes) {
    std::mt19937 rng(20240514);
    auto pick = [&](auto from, auto to) { return std::uniform_int_distribution<long long>(from, to)(rng); };
    const wchar_t charPool[] = {L'a',   L'Z',    L'7',   L' ',   L' ', L'\t',  L'\r',
                                L'\n',  L'-',    0xE4,   0xDF,   0xFF, 0x7F,   0x20AC,
                                0x263A, 0x1F600, 0xFFFF, 0xFFFD, 0,    0xD800, 0xDC00};
    auto text = [&]() {
        std::wstring t;
        const long long len = pick(0, 9) == 0 ? pick(190, 260) : pick(0, 12);
        for (long long i = 0; i < len; ++i)
            t.push_back(
                static_cast<wchar_t>(charPool[pick(0, static_cast<long long>(std::size(charPool)) - 1)]));
        return wxString(t);
    };
    const float inf = std::numeric_limits<float>::infinity();
    // clang-format off
    const float floatPool[] = {0.0f, -0.0f, 0.5f, 1e-7f, 5e-7f, -123.456789f, 8388607.5f, 3.0e12f, FLT_MAX, -FLT_MAX,
                               FLT_MIN, std::numeric_limits<float>::denorm_min(),
                               std::numeric_limits<float>::quiet_NaN(), inf, -inf};
    // clang-format on
    auto extreme = [&]() {
        return pick(0, 2) == 0 ? std::uniform_real_distribution<float>(-1e6f, 1e6f)(rng)
                               : floatPool[pick(0, static_cast<long long>(std::size(floatPool)) - 1)];
    };

    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::vector<Storage> records;
        const long long n = pick(0, 4);
        for (long long k = 0; k < n; ++k) {
            // Logger records (any flow unit code, known or not, any calibration) and records with
            // values from files or filters, extremes included.
            const bool fromLogger = pick(0, 1) == 1;
            // Any flow unit code, known or not: every value the settings file can hold.
            Storage r(text(), static_cast<int>(pick(0, 3600000)), static_cast<int>(pick(-2, 300)),
                      pick(0, 1) == 1, static_cast<int>(pick(0, 255)), static_cast<int>(k + 1));
            r.SetTitle(text());
            r.SetSubtitle(text());
            r.SetNoteText(text());
            r.SetNotePosition(static_cast<int>(pick(INT_MIN, INT_MAX)),
                              static_cast<int>(pick(INT_MIN, INT_MAX)));
            r.SetSerialNumber(static_cast<int>(pick(INT_MIN, INT_MAX)));
            r.SetTargetFlow(extreme());
            r.SetPressureCalibration(
                static_cast<std::uint8_t>(pick(0, 255)), static_cast<std::uint8_t>(pick(0, 3)),
                static_cast<std::uint8_t>(pick(0, 99)), static_cast<std::uint8_t>(pick(0, 255)));
            const long long samples = pick(0, 3) == 0 ? 0 : pick(1, 60);
            for (long long i = 0; i < samples; ++i) {
                if (fromLogger)
                    r.AddRawSample(static_cast<int>(pick(0, 16383)), static_cast<int>(pick(0, 1023)));
                else
                    r.AddSample(extreme(), extreme(), extreme(), extreme());
            }
            if (pick(0, 4) == 0)
                r.SetFilter(true, static_cast<int>(pick(1, 5)));
            records.push_back(r);
        }

        const std::string first = WriteText(records);
        const jobfile::ReadResult back = ReadText(first);
        ASSERT_FALSE(back.damaged) << back.problem;
        ASSERT_EQ(back.records.size(), records.size());
        // The setting is taken from the records' lines where they name a known unit.
        EXPECT_EQ(back.settings.flowUnitSet, std::any_of(records.begin(), records.end(),
                                                         [](const Storage& r) { return r.FlowUnit() <= 3; }));
        for (std::size_t k = 0; k < records.size(); ++k) {
            ASSERT_EQ(back.records[k].SampleCount(), records[k].SampleCount());
            EXPECT_EQ(back.records[k].FlowUnit(), records[k].FlowUnit());
        }
        // Saved again by the program the reading left behind: the same bytes.
        ASSERT_EQ(WriteText(back.records), first);
    }
}

TEST(JobFileRoundTrip, FilteredSeriesComeBackPlain) {
    Storage r = Record("Gefiltert", "24/03/2023 14:05:09", 1000, 1);
    const float flows[] = {0, 3, 0, 3, 0};
    for (int i = 0; i < 5; ++i)
        r.AddSample(i + 1.0f, flows[i], 2.0f * i, 10.0f * i);
    r.SetFilter(true, 1);
    const jobfile::ReadResult back = ReadText(WriteText({r}));
    ASSERT_EQ(back.records.size(), 1u);
    const Storage& b = back.records[0];
    EXPECT_FALSE(b.IsFiltered());
    ASSERT_EQ(b.SampleCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(b.Flows()[i], ThroughSixDecimals(r.Flows()[i])) << i;
    EXPECT_FLOAT_EQ(b.Flows()[2], 4.0f / 3.0f);
    // Switching the filter off changes nothing: the averages are now the record's values.
    Storage copy = b;
    copy.SetFilter(false, 1);
    EXPECT_EQ(copy.Flows(), b.Flows());
}

TEST(JobFileRoundTrip, TitlesLoseLeadingBlanksAndBlankTitlesStayReadable) {
    struct Case {
        const char* title;
        const char* back;
    } cases[] = {
        {"  Messung", "Messung"},
        {"\tTab davor", "Tab davor"},
        {"", "-"},
        {"   ", "-"},
        {"Druck 5 m³ – Süd €", "Druck 5 m³ ? Süd ?"},
        {"ein\nUmbruch", "ein Umbruch"},
    };
    std::vector<Storage> records;
    for (const Case& c : cases) {
        Storage r = Record(c.title, "24/03/2023 14:05:09", 1000, 1);
        r.SetSubtitle(U8("danach"));
        r.AddSample(1, 2, 3, 4);
        records.push_back(r);
    }
    const jobfile::ReadResult back = ReadText(WriteText(records));
    EXPECT_FALSE(back.damaged) << back.problem;
    ASSERT_EQ(back.records.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(back.records[i].Title(), U8(cases[i].back)) << i;
        // The lines after the title did not shift.
        EXPECT_EQ(back.records[i].DateText(), U8("24/03/2023 14:05:09")) << i;
        EXPECT_EQ(back.records[i].Subtitle(), U8("danach")) << i;
        EXPECT_EQ(back.records[i].SampleCount(), 1) << i;
    }
}

TEST(JobFileRoundTrip, TextLinesKeep198Characters) {
    const std::string longTitle(250, 'x');
    Storage r = Record(longTitle.c_str(), "24/03/2023 14:05:09", 1000, 1);
    r.SetSubtitle(U8(std::string(198, 's').c_str()));
    const jobfile::ReadResult back = ReadText(WriteText({r}));
    EXPECT_FALSE(back.damaged) << back.problem;
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0].Title(), U8(std::string(198, 'x').c_str()));
    EXPECT_EQ(back.records[0].Subtitle().length(), 198u);
}

TEST(JobFileRead, EveryLayoutWithItsSettingsEffects) {
    const std::string samples = "2\n1.000000 2.000000 3.000000 4.000000\n2.5 3.5 4.5 5.5\n";
    struct Case {
        const char* name;
        std::string text;
        int layout;
        const char* date;
        const char* subtitle;
        int serial, recordUnitSystem, flowUnitSetting;
        bool sync;
        const char* note;
        float target;
    } cases[] = {
        {"480000",
         "480000\n1\nNeu\n01/02/2003 04:05:06\nUnter\n777\n65 10 66 0 \n5 6\n1.250000\n2000\n16\n0 2\n1\n" +
             samples,
         480000, "01/02/2003 04:05:06", "Unter", 777, 0, 2, true, "A\nB", 1.25f},
        {"460000", "460000\n1\nNeu\n01/02/2003 04:05:06\nUnter\n777\n2000\n16\n0 2\n1\n" + samples, 460000,
         "01/02/2003 04:05:06", "Unter", 777, 0, 2, true, "", 0.0f},
        {"430000", "430000\n1\nNeu\n01/02/2003 04:05:06\nUnter\n777\n2000\n16\n0\n1\n" + samples, 430000,
         "01/02/2003 04:05:06", "Unter", 777, 1, 0, false, "", 0.0f},
        {"410000", "410000\n1\nNeu\n01/02/2003 04:05:06\nUnter\n2000\n16\n0\n1\n" + samples, 410000,
         "01/02/2003 04:05:06", "Unter", 0, 1, 0, false, "", 0.0f},
        {"oldest", "1\nNeu\n2000\n16\n0\n1\n" + samples, 0, "", "", 0, 1, 0, true, "", 0.0f},
    };
    for (const Case& c : cases) {
        for (bool crlf : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (crlf ? " CR LF" : " LF"));
            const jobfile::ReadResult r = ReadText(crlf ? Crlf(c.text) : c.text);
            EXPECT_FALSE(r.damaged) << r.problem;
            EXPECT_EQ(r.layout, c.layout);
            ASSERT_EQ(r.records.size(), 1u);
            const Storage& s = r.records[0];
            EXPECT_EQ(s.Title(), U8("Neu"));
            EXPECT_EQ(s.DateText(), U8(c.date));
            EXPECT_EQ(s.Subtitle(), U8(c.subtitle));
            EXPECT_EQ(s.SerialNumber(), c.serial);
            EXPECT_EQ(s.UnitSystem(), c.recordUnitSystem);
            EXPECT_EQ(s.IntervalMs(), 2000);
            EXPECT_EQ(s.PressureUnit(), 16);
            EXPECT_TRUE(s.SpareFlag());
            EXPECT_EQ(s.NoteText(), U8(c.note));
            EXPECT_EQ(s.TargetFlow(), c.target);
            ASSERT_EQ(s.SampleCount(), 2);
            const auto second = s.GetSample(1);
            EXPECT_EQ(second.time, 2.5f);
            EXPECT_EQ(second.flow, 3.5f);
            EXPECT_EQ(second.pressure, 4.5f);
            EXPECT_EQ(second.volume, 5.5f);
            EXPECT_TRUE(r.settings.flowUnitSet);
            EXPECT_EQ(r.settings.flowUnit, c.flowUnitSetting);
            EXPECT_TRUE(r.settings.unitsSet);
            EXPECT_EQ(r.settings.unitSystem, 0);  // the value read, also where the record gets 1
            EXPECT_EQ(r.settings.pressureUnit, 16);
            EXPECT_EQ(r.settings.syncFlowUnitMarks, c.sync);
        }
    }
}

TEST(JobFileRead, OldestLayoutWithThreeRecords) {
    const std::string text =
        "3\n"
        "Erste\n1000\n98\n1\n0\n1\n1 2 3 4\n"
        "  Zweite\n\n\n500\n112\n1\n0\n0\n"
        "Dritte\n250\n8\n0\n1\n2\n1 1 1 1\n2 2 2 2\n";
    const jobfile::ReadResult r = ReadText(text);
    EXPECT_FALSE(r.damaged) << r.problem;
    EXPECT_EQ(r.layout, 0);
    ASSERT_EQ(r.records.size(), 3u);
    const char* titles[] = {"Erste", "Zweite", "Dritte"};
    const int counts[] = {1, 0, 2};
    for (int i = 0; i < 3; ++i) {
        const Storage& s = r.records[i];
        EXPECT_EQ(s.Title(), U8(titles[i]));
        EXPECT_TRUE(s.DateText().empty());
        EXPECT_FALSE(s.StartTime().IsValid());
        EXPECT_TRUE(s.Subtitle().empty());
        EXPECT_EQ(s.UnitSystem(), 1);
        EXPECT_EQ(s.SerialNumber(), 0);
        EXPECT_EQ(s.SampleCount(), counts[i]);
    }
    EXPECT_EQ(r.records[2].PressureUnit(), 8);
    EXPECT_TRUE(r.records[2].SpareFlag());
    EXPECT_TRUE(r.settings.flowUnitSet);
    EXPECT_EQ(r.settings.flowUnit, 0);
    EXPECT_EQ(r.settings.unitSystem, 0);
    EXPECT_EQ(r.settings.pressureUnit, 8);
    EXPECT_TRUE(r.settings.syncFlowUnitMarks);

    SettingsRecord app;
    app.flowUnit = 2;
    app.unitSystem = 1;
    app.pressureUnit = 98;
    app.serialNumber = 55;
    jobfile::ApplySettings(r.settings, app);
    EXPECT_EQ(app.flowUnit, 0);
    EXPECT_EQ(app.unitSystem, 0);
    EXPECT_EQ(app.pressureUnit, 8);
    EXPECT_EQ(app.serialNumber, 55);

    // No record: the settings stay as they are.
    const jobfile::ReadResult none = ReadText("460000\n0\n");
    EXPECT_FALSE(none.damaged);
    EXPECT_TRUE(none.records.empty());
    SettingsRecord untouched = app;
    jobfile::ApplySettings(none.settings, untouched);
    EXPECT_EQ(untouched, app);
}

TEST(JobFileRead, ScanfWhiteSpaceRules) {
    // Numbers may be spread over blank lines and blanks; "+" signs and exponents read as scanf does.
    const std::string text =
        "  480000 \n\n 1\n"
        "   Titel mit Blanks am Ende  \r\n"
        "Datum\n"
        "\n"
        " 12\n  0   \n\n 3\t4\n+0.5\n"
        "100\n98\n1\t0\n0\n2\n"
        "1 2 3 4\n"
        "\n  5e-1 -2.5E+1   +3 -0\n";
    const jobfile::ReadResult r = ReadText(text);
    EXPECT_FALSE(r.damaged) << r.problem;
    ASSERT_EQ(r.records.size(), 1u);
    const Storage& s = r.records[0];
    EXPECT_EQ(s.Title(), U8("Titel mit Blanks am Ende  "));
    EXPECT_EQ(s.DateText(), U8("Datum"));
    EXPECT_TRUE(s.Subtitle().empty());
    EXPECT_EQ(s.SerialNumber(), 12);
    EXPECT_EQ(s.NoteX(), 3);
    EXPECT_EQ(s.NoteY(), 4);
    EXPECT_EQ(s.TargetFlow(), 0.5f);
    ASSERT_EQ(s.SampleCount(), 2);
    EXPECT_EQ(s.GetSample(1).time, 0.5f);
    EXPECT_EQ(s.GetSample(1).flow, -25.0f);
    EXPECT_EQ(s.GetSample(1).pressure, 3.0f);
}

TEST(JobFileSave, WritesTheFileAndNeverDestroysThePreviousOne) {
    ScratchDir dir;
    Storage r = Record("Messung", "24/03/2023 14:05:09", 1000, 1);
    r.AddSample(1, 2, 3, 4);
    const wxString path = dir.Path("auftrag.kvr");
    ASSERT_EQ(jobfile::Save(path, {r}), SaveResult::Ok);
    const auto loaded = jobfile::Load(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_FALSE(loaded->damaged);
    ASSERT_EQ(loaded->records.size(), 1u);
    EXPECT_EQ(loaded->records[0].Title(), U8("Messung"));

    // Saving again replaces the file; nothing is left beside it.
    r.SetTitle(U8("Zweiter Stand"));
    ASSERT_EQ(jobfile::Save(path, {r, r}), SaveResult::Ok);
    EXPECT_EQ(jobfile::Load(path)->records.size(), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);

    // Targets that cannot be written: the previous content stays.
    EXPECT_EQ(jobfile::Save(dir.Path("fehlt/auftrag.kvr"), {r}), SaveResult::CannotOpen);
    fs::create_directory(dir.path / "ordner.kvr");
    EXPECT_EQ(jobfile::Save(dir.Path("ordner.kvr"), {r}), SaveResult::CannotOpen);
    EXPECT_TRUE(fs::is_directory(dir.path / "ordner.kvr"));
    fs::permissions(dir.path / "auftrag.kvr", fs::perms::owner_read);  // refused for root too
    EXPECT_EQ(jobfile::Save(path, {}), SaveResult::CannotOpen);
    EXPECT_EQ(jobfile::Load(path)->records.size(), 2u);

    EXPECT_FALSE(jobfile::Load(dir.Path("gibt es nicht.kvr")).has_value());
    EXPECT_FALSE(jobfile::Load(dir.Path("ordner.kvr")).has_value());
}

TEST(JobFileSave, PathGetsTheExtensionUnlessItHoldsIt) {
    struct Case {
        const char *chosen, *path;
    } cases[] = {
        {"/home/a/messung", "/home/a/messung.kvr"},
        {"/home/a/messung.kvr", "/home/a/messung.kvr"},
        {"/home/a/messung.kvr.bak", "/home/a/messung.kvr.bak"},
        {"/home/a.kvr/messung", "/home/a.kvr/messung"},
        {"/home/a/MESSUNG.KVR", "/home/a/MESSUNG.KVR.kvr"},
        {"/home/a/Grüße", "/home/a/Grüße.kvr"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(jobfile::PathWithExtension(U8(c.chosen)), U8(c.path)) << c.chosen;
}

// A record's start time is the user's own, in winter and summer, as the record list, the clock-time
// axis and the job file's date line show it.
TEST(RecordTime, LocalTimeInEveryZoneAndSeason) {
    struct Case {
        const char* zone;
        std::time_t moment;
        const char* text;
        const char* hourLater;  // the clock-time axis an hour into the record
    };
    const Case cases[] = {
        {"Europe/Berlin", 1768478400, "15/01/2026 13:00:00", "14:00:00"},  // 12:00 UTC, winter
        {"Europe/Berlin", 1784116800, "15/07/2026 14:00:00", "15:00:00"},  // 12:00 UTC, summer
        {"UTC", 1768478400, "15/01/2026 12:00:00", "13:00:00"},
        {"UTC", 1784116800, "15/07/2026 12:00:00", "13:00:00"},
    };
    const char* before = std::getenv("TZ");
    const std::string saved = before ? before : "";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + c.text);
        ::setenv("TZ", c.zone, 1);
        ::tzset();
        const wxString text = RecordDateText(wxDateTime(c.moment));
        EXPECT_EQ(text.utf8_string(), c.text);
        Storage r(text, 1000, 1, false, 0, 1);
        EXPECT_EQ(r.StartTime().GetTicks(), c.moment);
        wxString time, date;
        plotmath::ClockTimeLabels(r.StartTime(), 3600, time, date);
        EXPECT_EQ(time.utf8_string(), c.hourLater);
        const std::string job = WriteText({r});
        EXPECT_EQ(job.substr(job.find('\n', job.find('\n', 7) + 1) + 1, 19), c.text);
    }
    if (before)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}
