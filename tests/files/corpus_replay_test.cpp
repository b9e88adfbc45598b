// The fuzzing corpus (generated files of every layout, and every input that once broke a reader)
// replayed through the readers of the normal build.
#include "files/database_import.h"
#include "files/job_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> Inputs(const char* target) {
    std::vector<fs::path> files;
    const fs::path dir = fs::path(ZPM_FUZZ_CORPUS_DIR) / target;
    if (fs::is_directory(dir))
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Write(const jobfile::ReadResult& r) {
    std::ostringstream out(std::ios::binary);
    jobfile::Write(out, r.records);
    return out.str();
}

jobfile::ReadResult Read(const std::string& bytes) {
    std::istringstream in(bytes, std::ios::binary);
    return jobfile::Read(in);
}

}  // namespace

TEST(FuzzCorpus, JobFilesReadAndWriteBackStably) {
    const auto files = Inputs("job_file");
    ASSERT_GE(files.size(), 10u) << "corpus missing under " << ZPM_FUZZ_CORPUS_DIR;
    std::set<int> layouts;
    for (const fs::path& f : files) {
        SCOPED_TRACE(f.filename().string());
        const jobfile::ReadResult r = Read(Bytes(f));
        if (!r.damaged)
            layouts.insert(r.layout);
        // What was read writes a file that reads back without damage and writes the same bytes.
        const std::string once = Write(r);
        const jobfile::ReadResult again = Read(once);
        ASSERT_FALSE(again.damaged) << again.problem;
        ASSERT_EQ(again.records.size(), r.records.size());
        ASSERT_EQ(Write(again), once);
    }
    EXPECT_EQ(layouts, (std::set<int>{0, 410000, 430000, 460000, 480000}));
}

TEST(FuzzCorpus, DatabaseFilesGiveKnownMessages) {
    const auto files = Inputs("database_import");
    ASSERT_GE(files.size(), 5u);
    const std::set<std::string> known = {"",
                                         "Error reading lenghts from import file",
                                         "Error Import: toc",
                                         "Error Import: icd",
                                         "Error Import: eof",
                                         "Error Import: ftoc",
                                         "Error Import: fbuf"};
    for (const fs::path& f : files) {
        std::istringstream in(Bytes(f), std::ios::binary);
        EXPECT_EQ(known.count(dbimport::Scan(in).utf8_string()), 1u) << f.filename();
    }
}
