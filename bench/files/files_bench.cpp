// Throughput of the job file writer and reader, and of the CSV export, for records of 10^4, 10^5
// and 10^6 samples, in memory and through a real file. Prints figures only.
#include "files/csv_export.h"
#include "files/job_file.h"

#include <wx/init.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;

Storage Recording(int samples) {
    Storage r(wxString::FromUTF8("24/03/2023 14:05:09"), 100, 1, false, 0, 1);
    r.SetTitle(wxString::FromUTF8("Messung"));
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    float volume = 0;
    for (int i = 0; i < samples; ++i) {
        const float t = (i + 1) * 0.1f;
        const float flow = 120.0f + 40.0f * std::sin(t / 30.0f) + noise(rng);
        volume += flow * 0.1f / 60.0f;
        r.AddSample(t, flow, 3.2f + noise(rng) * 0.1f, volume);
    }
    return r;
}

// Runs f until at least half a second has passed; seconds per run.
template <typename F>
double Time(F&& f) {
    int runs = 0;
    const auto start = Clock::now();
    double elapsed = 0;
    do {
        f();
        ++runs;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < 0.5);
    return elapsed / runs;
}

}  // namespace

int main() {
    wxInitializer wx;
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    std::printf("%-10s %10s %14s %14s %14s %14s %12s\n", "samples", "MB", "write MB/s", "read MB/s",
                "save MB/s", "load MB/s", "CSV MB/s");
    for (int n : {10000, 100000, 1000000}) {
        const std::vector<Storage> records = {Recording(n)};
        std::string text;
        const double write = Time([&] {
            std::ostringstream out;
            jobfile::Write(out, records);
            text = out.str();
        });
        std::size_t read = 0;
        const double readTime = Time([&] {
            std::istringstream in(text);
            read = jobfile::Read(in).records.at(0).SampleCount();
        });
        const wxString path = wxString::FromUTF8((dir / "zpm-bench.kvr").string());
        const double save = Time([&] { jobfile::Save(path, records); });
        const double load = Time([&] { read = jobfile::Load(path)->records.at(0).SampleCount(); });
        std::size_t csvBytes = 0;
        const double csv = Time([&] {
            std::ostringstream out;
            csvexport::Write(out, records[0], path);
            csvBytes = out.str().size();
        });
        std::filesystem::remove(dir / "zpm-bench.kvr");
        const double mb = text.size() / 1e6;
        std::printf("%-10d %10.1f %14.0f %14.0f %14.0f %14.0f %12.0f%s\n", n, mb, mb / write, mb / readTime,
                    mb / save, mb / load, csvBytes / 1e6 / csv,
                    read == static_cast<std::size_t>(n) ? "" : "  (read back wrong)");
        if (n == 1000000) {
            std::printf("result: job_write_1e6_MBps %.0f MB/s\n", mb / write);
            std::printf("result: job_read_1e6_MBps %.0f MB/s\n", mb / readTime);
        }
    }
    return 0;
}
