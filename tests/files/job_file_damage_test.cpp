// Damaged and hostile job files: the reader keeps what it read completely, says what is wrong,
// and neither crashes, hangs nor allocates what the file cannot fill.
#include "files/job_file.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <regex>
#include <sstream>
#include <streambuf>

namespace {

jobfile::ReadResult ReadText(const std::string& text) {
    std::istringstream in(text, std::ios::binary);
    return jobfile::Read(in);
}

std::string ThreeRecords(std::vector<std::size_t>* recordEnds) {
    std::vector<Storage> records;
    for (int k = 0; k < 3; ++k) {
        Storage r(U8("24/03/2023 14:05:09"), 1000, 1, false, 0, k + 1);
        r.SetTitle(U8("Messung ") + wxString::Format(wxString::FromAscii("%d"), k + 1));
        r.SetNoteText(k == 1 ? U8("Notiz\nzwei") : U8(""));
        for (int i = 0; i < 3 * k; ++i)
            r.AddSample(i + 1.0f, 12.5f * i, 1.5f, 0.25f * i);
        records.push_back(r);
    }
    std::ostringstream out;
    jobfile::Write(out, records);
    const std::string text = out.str();
    // Each record ends with its last line; find them by writing the prefixes.
    recordEnds->clear();
    for (std::size_t k = 1; k <= records.size(); ++k) {
        std::ostringstream part;
        jobfile::Write(part, std::vector<Storage>(records.begin(), records.begin() + k));
        // The prefix file carries a different count on line 2; the lengths of both counts are one digit.
        recordEnds->push_back(part.str().size());
    }
    return text;
}

// A stream that cannot seek, as a pipe would be.
class PipeBuf : public std::streambuf {
public:
    explicit PipeBuf(std::string data) : data_(std::move(data)) {
        setg(data_.data(), data_.data(), data_.data() + data_.size());
    }

private:
    std::string data_;
};

}  // namespace

TEST(JobFileDamage, TruncatedAtEveryByteKeepsTheCompleteRecords) {
    std::vector<std::size_t> ends;
    const std::string text = ThreeRecords(&ends);
    ASSERT_FALSE(ReadText(text).damaged);
    // The end of the file ends a number as scanf reads it: a record is complete as soon as the
    // first character of its last number is there. Only counts the file cannot fill are damage.
    std::vector<std::size_t> lastNumber;
    for (std::size_t e : ends)
        lastNumber.push_back(text.find_last_of(" \n", e - 2) + 1);
    for (std::size_t cut = 0; cut < text.size(); ++cut) {
        const jobfile::ReadResult r = ReadText(text.substr(0, cut));
        std::size_t complete = 0;
        for (std::size_t start : lastNumber)
            complete += start < cut ? 1 : 0;
        ASSERT_EQ(r.damaged, complete < ends.size()) << "cut at " << cut << ": " << r.problem;
        ASSERT_EQ(r.problem.empty(), !r.damaged) << cut;
        ASSERT_EQ(r.records.size(), complete) << "cut at " << cut << ": " << r.problem;
        // The settings follow the records that were kept.
        ASSERT_EQ(r.settings.unitsSet, complete > 0) << cut;
    }
    // Without its last line end the file reads exactly as with it, in both line end styles; a
    // last number cut short is read as far as it goes.
    const std::string crlf = std::regex_replace(text, std::regex("\n"), "\r\n");
    for (const std::string& noEnd : {text.substr(0, text.size() - 1), crlf.substr(0, crlf.size() - 2)}) {
        const jobfile::ReadResult r = ReadText(noEnd);
        EXPECT_FALSE(r.damaged) << r.problem;
        ASSERT_EQ(r.records.size(), 3u);
        EXPECT_EQ(r.records[2].GetSample(5).volume, 1.25f);
    }
    const jobfile::ReadResult shortened = ReadText(text.substr(0, text.size() - 6));
    EXPECT_FALSE(shortened.damaged);
    ASSERT_EQ(shortened.records.size(), 3u);
    EXPECT_EQ(shortened.records[2].GetSample(5).volume, 1.2f);
}

TEST(JobFileDamage, HostileContentIsReportedAndBounded) {
    const std::string good = "1\nA\n1000\n98\n1\n0\n1\n1 2 3 4\n";
    struct Case {
        const char* name;
        std::string text;
        std::size_t kept;
        const char* problem;  // part of the message
    } cases[] = {
        {"empty", "", 0, "Zeile 1: die Datei ist leer"},
        {"blanks only", " \n\n \t\n", 0, "die Datei ist leer"},
        {"not a number", "Hallo\n", 0, "Zeile 1: die erste Zeile ist keine Zahl"},
        {"negative record count", "480000\n-3\n", 0, "die Anzahl der Messungen -3 ist negativ"},
        {"negative sample count", "2\nA\n1000\n98\n1\n0\n-1\n" + good.substr(2), 0,
         "Messung 1 von 2: die Anzahl der Messpunkte -1 ist negativ"},
        {"record count beyond the file", "5\n" + good.substr(2), 1,
         "Zeile 9: Messung 2 von 5: der Titel fehlt, die Datei endet"},
        {"sample count beyond the file", "1\nA\n1000\n98\n1\n0\n2147483647\n1 2 3 4\n5 6 7 8\n", 0,
         "Messung 1 von 1: Messpunkt 3 von 2147483647 fehlt, die Datei endet"},
        {"last sample short of a value", "1\nA\n1000\n98\n1\n0\n2\n1 2 3 4\n5 6 7", 0,
         "Zeile 9: Messung 1 von 1: Messpunkt 2 von 2 fehlt, die Datei endet"},
        {"huge numbers", "1\nA\n99999999999999999999\n", 0,
         "Messung 1 von 1: das Messintervall liegt außerhalb des Wertebereichs"},
        {"number too long", "1\nA\n1" + std::string(5000, '0') + "\n", 0, "das Messintervall ist zu lang"},
        {"text box code beyond 16 bits", "480000\n1\nA\nB\nC\n0\n65 70000 0 \n0 0\n0\n1000\n98\n1 0\n0\n0\n",
         0, "Zeile 7: Messung 1 von 1: der Zeichencode 70000 des Textfelds ist kein 16-Bit-Code"},
        {"text box without end", "480000\n1\nA\nB\nC\n0\n65 66 67", 0,
         "ein Zeichen des Textfelds fehlt, die Datei endet"},
        {"title too long", "1\n" + std::string(300, 't') + "\n1000\n98\n1\n0\n0\n", 1,
         "Zeile 2: Messung 1 von 1: der Titel ist länger als 198 Zeichen und wurde gekürzt"},
        {"sign alone", "1\nA\n1000\n98\n1\n0\n1\n1 2 3 +-4\n", 0, "Messpunkt 1 von 1 ist keine Zahl"},
        // No value that is not a finite float enters a record; the message names its line.
        {"nan", "1\nA\n1000\n98\n1\n0\n2\n1 2 3 4\n5 nan 7 8\n", 0,
         "Zeile 9: Messung 1 von 1: Messpunkt 2 von 2 ist keine endliche Zahl"},
        {"inf", "1\nA\n1000\n98\n1\n0\n1\n1 2 inf 4\n", 0,
         "Zeile 8: Messung 1 von 1: Messpunkt 1 von 1 ist keine"},
        {"-infinity", "1\nA\n1000\n98\n1\n0\n1\n1 2 3 -Infinity\n", 0,
         "Messpunkt 1 von 1 ist keine endliche"},
        {"nan(…)", "1\nA\n1000\n98\n1\n0\n1\nnan(0x7f) 2 3 4", 0, "Messpunkt 1 von 1 ist keine endliche"},
        {"beyond the float range", "1\nA\n1000\n98\n1\n0\n1\n1 3.5e38 3 4\n", 0,
         "Zeile 8: Messung 1 von 1: Messpunkt 1 von 1 liegt außerhalb des Wertebereichs"},
        {"far beyond", "1\nA\n1000\n98\n1\n0\n1\n1 2 -1e999 4\n", 0, "Messpunkt 1 von 1 liegt außerhalb"},
        {"target flow nan", "480000\n1\nA\nB\nC\n0\n0 \n0 0\nNAN\n1000\n98\n1 0\n0\n0\n", 0,
         "Zeile 9: Messung 1 von 1: der Zielfluss ist keine endliche Zahl"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const jobfile::ReadResult r = ReadText(c.text);
        EXPECT_TRUE(r.damaged);
        EXPECT_EQ(r.records.size(), c.kept);
        EXPECT_NE(r.problem.find(c.problem), std::string::npos) << r.problem;
        for (const Storage& s : r.records)
            for (std::size_t i = 0; i < s.Flows().size(); ++i)
                EXPECT_TRUE(std::isfinite(s.Flows()[i] + s.Times()[i] + s.Pressures()[i] + s.Volumes()[i]));
    }
    // Below the smallest float is no damage: such a number reads as scanf reads it.
    const jobfile::ReadResult tiny =
        ReadText("1\nA\n1000\n98\n1\n0\n1\n1e-50 -1e-400 1e-40 0." + std::string(400, '0') + "1\n");
    EXPECT_FALSE(tiny.damaged) << tiny.problem;
    ASSERT_EQ(tiny.records.size(), 1u);
    EXPECT_EQ(tiny.records[0].GetSample(0).time, 0.0f);
    EXPECT_EQ(tiny.records[0].GetSample(0).flow, 0.0f);
    EXPECT_TRUE(std::signbit(tiny.records[0].GetSample(0).flow));
    EXPECT_EQ(tiny.records[0].GetSample(0).pressure, 1e-40f);
    EXPECT_EQ(tiny.records[0].GetSample(0).volume, 0.0f);

    // Many problems make a short message: the first four and the last.
    std::string many = "9\n";
    for (int i = 0; i < 9; ++i)
        many += std::string(200, 'x') + "\n1000\n98\n1\n0\n0\n";
    const jobfile::ReadResult lots = ReadText(many + "Zehn\n");
    EXPECT_EQ(lots.records.size(), 9u);
    EXPECT_EQ(lots.problem,
              "Zeile 2: Messung 1 von 9: der Titel ist länger als 198 Zeichen und wurde gekürzt; "
              "Zeile 8: Messung 2 von 9: der Titel ist länger als 198 Zeichen und wurde gekürzt; "
              "Zeile 14: Messung 3 von 9: der Titel ist länger als 198 Zeichen und wurde gekürzt; "
              "Zeile 20: Messung 4 von 9: der Titel ist länger als 198 Zeichen und wurde gekürzt; "
              "… 4 weitere; "
              "Zeile 50: Messung 9 von 9: der Titel ist länger als 198 Zeichen und wurde gekürzt");

    // What was kept is right: the long title is cut.
    const jobfile::ReadResult title = ReadText(cases[12].text);
    ASSERT_EQ(title.records.size(), 1u);
    EXPECT_EQ(title.records[0].Title(), U8(std::string(198, 't').c_str()));
    EXPECT_EQ(title.records[0].IntervalMs(), 1000);
}

TEST(JobFileDamage, GarbageNeverCrashesOrHangs) {
    std::mt19937 rng(12345);
    const std::string alphabet = "0123456789 \n\r\t-+.eE480000nanif\xFF";
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const std::size_t len = rng() % 400;
        if (round % 3 == 0) {
            for (std::size_t i = 0; i < len; ++i)
                text += static_cast<char>(rng());
        } else {
            // Mostly number-like bytes, which get much further into the reader.
            text = round % 2 ? "480000\n" : "2\n";
            for (std::size_t i = 0; i < len; ++i)
                text += alphabet[rng() % alphabet.size()];
        }
        const jobfile::ReadResult r = ReadText(text);
        for (const Storage& s : r.records) {
            ASSERT_EQ(s.Times().size(), s.Flows().size());
            ASSERT_EQ(s.Times().size(), s.Pressures().size());
            ASSERT_EQ(s.Times().size(), s.Volumes().size());
        }
    }
    // A long run of white space and a record count of two billion end at the end of the file.
    const jobfile::ReadResult r = ReadText("2147483647\n" + std::string(3 << 20, ' '));
    EXPECT_TRUE(r.damaged);
    EXPECT_TRUE(r.records.empty());
}

TEST(JobFileDamage, StreamsThatCannotSeekReadTheSame) {
    std::vector<std::size_t> ends;
    const std::string text = ThreeRecords(&ends);
    PipeBuf buf(text);
    std::istream in(&buf);
    const jobfile::ReadResult r = jobfile::Read(in);
    EXPECT_FALSE(r.damaged) << r.problem;
    ASSERT_EQ(r.records.size(), 3u);
    EXPECT_EQ(r.records[2].SampleCount(), 6);
    EXPECT_EQ(r.records[1].NoteText(), U8("Notiz\nzwei"));

    PipeBuf cut(text.substr(0, ends[1] + 5));
    std::istream cutIn(&cut);
    const jobfile::ReadResult c = jobfile::Read(cutIn);
    EXPECT_TRUE(c.damaged);
    EXPECT_EQ(c.records.size(), 2u);
}
