// Damaged and hostile job files: the reader keeps what it read completely, says what is wrong,
// and neither crashes, hangs nor allocates what the file cannot fill.
#include "files/job_file.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <streambuf>

namespace {

wxString U8(const char* s) {
    return wxString::FromUTF8(s);
}

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
    jobfile::Write(out, records, 0);
    const std::string text = out.str();
    // Each record ends with its last line; find them by writing the prefixes.
    recordEnds->clear();
    for (std::size_t k = 1; k <= records.size(); ++k) {
        std::ostringstream part;
        jobfile::Write(part, std::vector<Storage>(records.begin(), records.begin() + k), 0);
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
    for (std::size_t cut = 0; cut < text.size(); ++cut) {
        const jobfile::ReadResult r = ReadText(text.substr(0, cut));
        std::size_t complete = 0;
        for (std::size_t e : ends)
            complete += e <= cut ? 1 : 0;
        ASSERT_TRUE(r.damaged) << "cut at " << cut;
        ASSERT_FALSE(r.problem.empty());
        ASSERT_EQ(r.records.size(), complete) << "cut at " << cut << ": " << r.problem;
        // The settings follow the records that were kept.
        ASSERT_EQ(r.settings.unitsSet, complete > 0) << cut;
    }
    // A file cut off in its last number: that sample is not taken for a shorter value.
    const jobfile::ReadResult r = ReadText(text.substr(0, text.size() - 3));
    EXPECT_EQ(r.records.size(), 2u);
    EXPECT_NE(r.problem.find("record 3 of 3: sample 6 of 6 is cut off by the end of the file"),
              std::string::npos)
        << r.problem;
}

TEST(JobFileDamage, HostileContentIsReportedAndBounded) {
    const std::string good = "1\nA\n1000\n98\n1\n0\n1\n1 2 3 4\n";
    struct Case {
        const char* name;
        std::string text;
        std::size_t kept;
        const char* problem;  // part of the message
    } cases[] = {
        {"empty", "", 0, "line 1: the file is empty"},
        {"blanks only", " \n\n \t\n", 0, "the file is empty"},
        {"not a number", "Hallo\n", 0, "line 1: the first line is not a number"},
        {"negative record count", "480000\n-3\n", 0, "the record count -3 is negative"},
        {"negative sample count", "2\nA\n1000\n98\n1\n0\n-1\n" + good.substr(2), 0,
         "record 1 of 2: the sample count -1 is negative"},
        {"record count beyond the file", "5\n" + good.substr(2), 1, "record 2 of 5: the title is missing"},
        {"sample count beyond the file", "1\nA\n1000\n98\n1\n0\n2147483647\n1 2 3 4\n5 6 7 8\n", 0,
         "record 1 of 1: sample 3 of 2147483647 is missing, the file ends"},
        {"huge numbers", "1\nA\n99999999999999999999\n", 0, "the sample interval is out of range"},
        {"float out of range", "1\nA\n1000\n98\n1\n0\n1\n1e99 2 3 4\n", 0, "sample 1 of 1 is out of range"},
        {"number too long", "1\nA\n1" + std::string(5000, '0') + "\n", 0, "the sample interval is too long"},
        {"text box code beyond 16 bits", "480000\n1\nA\nB\nC\n0\n65 70000 0 \n0 0\n0\n1000\n98\n1 0\n0\n0\n",
         0, "the text box character code 70000 is not a 16-bit code"},
        {"text box without end", "480000\n1\nA\nB\nC\n0\n65 66 67", 0, "a text box character is cut off"},
        {"unknown flow unit", "460000\n1\nA\nB\nC\n0\n1000\n98\n1 9\n0\n0\n", 1,
         "line 9: record 1 of 1: the flow unit 9 is unknown and was ignored"},
        {"title too long", "1\n" + std::string(300, 't') + "\n1000\n98\n1\n0\n0\n", 1,
         "line 2: record 1 of 1: the title is longer than 198 characters and was shortened"},
        {"sign alone", "1\nA\n1000\n98\n1\n0\n1\n1 2 3 +-4\n", 0, "sample 1 of 1 is not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const jobfile::ReadResult r = ReadText(c.text);
        EXPECT_TRUE(r.damaged);
        EXPECT_EQ(r.records.size(), c.kept);
        EXPECT_NE(r.problem.find(c.problem), std::string::npos) << r.problem;
    }

    // Many problems make a short message: the first four and the last.
    std::string many = "9\n";
    for (int i = 0; i < 9; ++i)
        many += std::string(200, 'x') + "\n1000\n98\n1\n0\n0\n";
    const jobfile::ReadResult lots = ReadText(many + "Zehn\n");
    EXPECT_EQ(lots.records.size(), 9u);
    EXPECT_EQ(lots.problem,
              "line 2: record 1 of 9: the title is longer than 198 characters and was shortened; "
              "line 8: record 2 of 9: the title is longer than 198 characters and was shortened; "
              "line 14: record 3 of 9: the title is longer than 198 characters and was shortened; "
              "line 20: record 4 of 9: the title is longer than 198 characters and was shortened; "
              "… 4 more; "
              "line 50: record 9 of 9: the title is longer than 198 characters and was shortened");

    // What was kept is right: the unknown flow unit leaves the setting alone, the long title is cut.
    const jobfile::ReadResult flow = ReadText(cases[12].text);
    EXPECT_FALSE(flow.settings.flowUnitSet);
    EXPECT_TRUE(flow.settings.unitsSet);
    const jobfile::ReadResult title = ReadText(cases[13].text);
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

    // A device that never ends is read no further than the length it reports.
    const auto zero = jobfile::Load(U8("/dev/zero"));
    ASSERT_TRUE(zero.has_value());
    EXPECT_TRUE(zero->damaged);
    EXPECT_TRUE(zero->records.empty());
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
