// Any bytes as a job file: the reader must neither crash nor overrun, and what it keeps must write
// a file that reads back undamaged and writes the very same bytes again.
#include "files/job_file.h"

#include <wx/init.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

std::string Write(const jobfile::ReadResult& r) {
    std::ostringstream out(std::ios::binary);
    jobfile::Write(out, r.records);
    return out.str();
}

jobfile::ReadResult Read(const std::string& bytes) {
    std::istringstream in(bytes, std::ios::binary);
    return jobfile::Read(in);
}

[[noreturn]] void Broken(const char* what, const std::string& detail) {
    std::fprintf(stderr, "job file fuzzer: %s: %s\n", what, detail.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wxInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const jobfile::ReadResult r = Read(std::string(reinterpret_cast<const char*>(data), size));
    if (r.damaged == r.problem.empty())
        Broken("damage flag and problem text disagree", r.problem);
    for (const Storage& s : r.records) {
        const std::size_t n = s.Times().size();
        if (s.Flows().size() != n || s.Pressures().size() != n || s.Volumes().size() != n)
            Broken("series of different lengths", "");
        if (s.Title().length() > jobfile::MaxTextLine || s.DateText().length() > jobfile::MaxTextLine)
            Broken("text line beyond its limit", "");
    }
    const std::string once = Write(r);
    const jobfile::ReadResult again = Read(once);
    if (again.damaged)
        Broken("written file reads back damaged", again.problem);
    if (again.records.size() != r.records.size())
        Broken("written file reads back a different record count", "");
    if (Write(again) != once)
        Broken("written file does not write back the same", "");
    return 0;
}
