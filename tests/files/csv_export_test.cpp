#include "files/csv_export.h"
#include "files/job_file.h"
#include "support/cannot_run.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

Storage Record(int unitSystem, int pressureUnit) {
    Storage r(U8("24/03/2023 14:05:09"), 1000, unitSystem, false, 0, 1);
    r.SetTitle(U8("Messung Süd"));
    r.SetSubtitle(U8("Pumpe 3"));
    r.SetPressureUnit(static_cast<std::uint8_t>(pressureUnit));
    return r;
}

std::string Csv(const Storage& r, const char* path = "/home/a/daten.csv") {
    std::ostringstream out;
    EXPECT_TRUE(csvexport::Write(out, r, U8(path)));
    return out.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

TEST(CsvExport, WritesSixHeaderLinesAndTheSamples) {
    Storage r = Record(1, 98);
    r.AddSample(1.0f, 12.345f, 1.5f, 0.2f);
    r.AddSample(2.0f, -3.0f, 1.0f / 3.0f, 1234567.0f);
    r.AddSample(0.125f, 0.005f, 2.675f, 0.0f);
    const std::string expected =
        "File Name,/home/a/daten.csv\n"
        "Title,Messung S\xFC"
        "d 24/03/2023 14:05:09\n"
        "Information,Pumpe 3\n"
        "Flow Measurement,,L/min\n"
        "Pressure Measurement,,Bar\n"
        "Zeit (s), Durchfluss (L/min), Volumen (L), Druck (Bar)\n"
        "1.00,12.35,0.20,1.50\n"  // time, flow, volume, pressure
        "2.00,-3.00,1234567.00,0.33\n"
        "0.12,0.00,0.00,2.67\n";  // the binary values round as printf does
    EXPECT_EQ(Csv(r), expected);

    // Without samples: the six header lines only.
    EXPECT_EQ(Lines(Csv(Record(1, 98))).size(), 6u);
}

TEST(CsvExport, UnitTextsFollowUnitSystemFlowSettingAndPressureCode) {
    struct Case {
        int unitSystem, flowUnit, pressure;
        const char *flow, *volume, *pressureText;
    } cases[] = {
        {1, 0, 98, "L/min", "L", "Bar"}, {1, 1, 112, "L/s", "L", "psi"},  {1, 2, 8, "M³/h", "M³", "MtrH"},
        {1, 3, 16, "G/min", "G", "KPa"}, {0, 0, 98, "G/min", "G", "Bar"}, {0, 2, 112, "G/min", "G", "psi"},
        {7, 1, 98, "G/min", "G", "Bar"}, {1, 9, 55, "L/min", "L", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.unitSystem << "/" << c.flowUnit << "/" << c.pressure);
        const csvexport::UnitTexts t = csvexport::UnitTextsFor(c.unitSystem, c.flowUnit, c.pressure);
        EXPECT_EQ(t.flow, U8(c.flow));
        EXPECT_EQ(t.volume, U8(c.volume));
        EXPECT_EQ(t.pressure, U8(c.pressureText));
    }
    // In the file, "³" is the single byte 0xB3. The record's own flow unit names its columns.
    Storage cubic = Record(1, 8);
    cubic.SetFlowUnit(2);
    const std::vector<std::string> lines = Lines(Csv(cubic));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], "Flow Measurement,,M\xB3/h");
    EXPECT_EQ(lines[4], "Pressure Measurement,,MtrH");
    EXPECT_EQ(lines[5], "Zeit (s), Durchfluss (M\xB3/h), Volumen (M\xB3), Druck (MtrH)");
}

// Both files a German user writes, CSV and job, are the same bytes as under the C locale.
TEST(CsvExport, NumbersHaveTwoDecimalsAndAPointWhateverTheLocale) {
    // A German locale (decimal comma) compiled for this test into a scratch folder that only this
    // process looks in: the machine's own locale set-up stays as it is.
    ScratchDir locales;
    const std::string make =
        "localedef -c -i de_DE -f UTF-8 '" + (locales.path / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    ASSERT_NE(std::system(make.c_str()), -1);
    ASSERT_TRUE(fs::exists(locales.path / "de_DE.UTF-8" / "LC_NUMERIC"))
        << "localedef (package locales) failed";
    const std::string oldLocale = std::setlocale(LC_ALL, nullptr);
    ::setenv("LOCPATH", locales.path.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    // The switch took: printf writes a comma now.
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.2f", 1.5);

    Storage r = Record(1, 98);
    r.AddSample(0.5f, 1234.5f, 2.25f, 0.75f);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> any(-1e6f, 1e6f);
    for (int i = 0; i < 2000; ++i)
        r.AddSample(i * 0.5f, any(rng), any(rng) / 1000.0f, any(rng));
    const std::string csvGerman = Csv(r);
    std::ostringstream jobGerman;
    ASSERT_TRUE(jobfile::Write(jobGerman, {r}));
    std::setlocale(LC_ALL, oldLocale.c_str());
    ::unsetenv("LOCPATH");
    EXPECT_STREQ(printed, "1,50");
    std::ostringstream jobC;
    ASSERT_TRUE(jobfile::Write(jobC, {r}));
    EXPECT_EQ(jobGerman.str(), jobC.str());
    EXPECT_EQ(csvGerman, Csv(r));
    const std::vector<std::string> lines = Lines(csvGerman);

    ASSERT_EQ(lines.size(), 2007u);
    EXPECT_EQ(lines[6], "0.50,1234.50,0.75,2.25");
    const std::regex sample(R"(-?[0-9]+\.[0-9]{2},-?[0-9]+\.[0-9]{2},-?[0-9]+\.[0-9]{2},-?[0-9]+\.[0-9]{2})");
    for (std::size_t i = 6; i < lines.size(); ++i)
        ASSERT_TRUE(std::regex_match(lines[i], sample)) << lines[i];
}

TEST(CsvExport, FileNamesAndExtension) {
    EXPECT_EQ(csvexport::DefaultFileName(U8("24/03/2023 14:05:09")), U8("24_03_2023 14_05_09"));
    EXPECT_EQ(csvexport::DefaultFileName(U8("1.2,3'4:5/6 ä")), U8("1_2_3_4_5_6 ä"));
    EXPECT_EQ(csvexport::DefaultFileName(U8("")), U8(""));
    struct Case {
        const char *chosen, *path;
    } cases[] = {
        {"/tmp/daten", "/tmp/daten.csv"},
        {"/tmp/daten.csv", "/tmp/daten.csv"},
        {"/tmp/daten.csv.old", "/tmp/daten.csv.old"},
        {"/tmp/daten.CSV", "/tmp/daten.CSV.csv"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(csvexport::PathWithExtension(U8(c.chosen)), U8(c.path)) << c.chosen;
}

TEST(CsvExport, SpreadsheetReadsFourColumns) {
    if (std::system("command -v ssconvert >/dev/null 2>&1") != 0)
        ZPM_CANNOT_RUN("ssconvert (gnumeric) is not installed");
    const ScratchDir scratch;
    const fs::path& dir = scratch.path;
    const fs::path csv = dir / "24_03_2023 14_05_09.csv";
    const fs::path txt = dir / "out.txt";

    Storage r = Record(1, 98);
    r.AddSample(0.5f, 12.25f, 1.5f, 0.1f);
    r.AddSample(1.0f, -3.0f, 2.0f, 0.2f);
    r.AddSample(1.5f, 1000.0f, 0.0f, 17.5f);
    ASSERT_EQ(csvexport::Save(wxString::FromUTF8(csv.string()), r), SaveResult::Ok);

    // Raw values with ";" between the cells: numbers come out as the spreadsheet parsed them.
    const std::string cmd =
        "ssconvert -O 'separator=; format=raw' '" + csv.string() + "' '" + txt.string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::ifstream in(txt);
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        rows.push_back(line);
    }
    ASSERT_EQ(rows.size(), 9u);
    // The one-byte "ü" is read as such.
    EXPECT_EQ(rows[1], "Title;\"Messung Süd 24/03/2023 14:05:09\";;");
    EXPECT_EQ(rows[3], "\"Flow Measurement\";;L/min;");
    EXPECT_EQ(rows[5], "\"Zeit (s)\";\" Durchfluss (L/min)\";\" Volumen (L)\";\" Druck (Bar)\"");
    // time; flow; volume; pressure, each a number in its own cell
    EXPECT_EQ(rows[6], "0.5;12.25;0.1;1.5");
    EXPECT_EQ(rows[7], "1;-3;0.2;2");
    EXPECT_EQ(rows[8], "1.5;1000;17.5;0");
}

TEST(CsvExport, SaveFailureLeavesTheOldFile) {
    ScratchDir dir;
    Storage r = Record(1, 98);
    for (int i = 0; i < 500; ++i)
        r.AddSample(i * 0.5f, 10.0f, 2.0f, 1.0f);
    const auto save = [&](const fs::path& path) {
        return csvexport::Save(wxString::FromUTF8(path.string()), r);
    };
    const auto files = [&] {
        return std::distance(fs::directory_iterator(dir.path), fs::directory_iterator());
    };
    EXPECT_EQ(save(dir.path / "fehlt" / "a.csv"), SaveResult::CannotOpen);
    fs::create_directory(dir.path / "b.csv");
    EXPECT_EQ(save(dir.path / "b.csv"), SaveResult::CannotOpen);
    EXPECT_TRUE(fs::is_directory(dir.path / "b.csv"));

    // An earlier export is there; the disk fills up while the new one is written (a file size
    // limit, which holds for root too): it stays as it was, and nothing is left beside it.
    const fs::path c = dir.path / "c.csv";
    std::ofstream(c) << "alte Tabelle\n";
    const auto saveOnAFullDisk = [&] {
        const FileSizeLimit full(4096);
        return save(c);
    };
    EXPECT_EQ(saveOnAFullDisk(), SaveResult::WriteFailed);
    EXPECT_EQ(FileBytes(c), "alte Tabelle\n");
    EXPECT_EQ(files(), 2);  // b.csv and c.csv

    // A write-protected earlier export is refused (for root too) and kept.
    fs::permissions(c, fs::perms::owner_read);
    EXPECT_EQ(save(c), SaveResult::CannotOpen);
    std::ifstream still(c);
    std::string first;
    std::getline(still, first);
    EXPECT_EQ(first, "alte Tabelle");
    fs::permissions(c, fs::perms::owner_read | fs::perms::owner_write);

    // Then it is replaced; the "File Name," line names the file written.
    ASSERT_EQ(save(c), SaveResult::Ok);
    std::ifstream in(c);
    std::getline(in, first);
    EXPECT_EQ(first, "File Name," + c.string());
    EXPECT_EQ(files(), 2);
}
