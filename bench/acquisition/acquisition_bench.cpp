// Prints the cost of one live tick (without and with the paint it asks for) and the memory of
// long live records, the time from opening a long job file to its first painted chart, and the
// program's own share of a full download with a realistic 0.25 ms per USB transfer. Ends with
// one "result:" line per headline figure. Run under xvfb-run.
#include "acquisition/progress.h"
#include "app/app_settings.h"
#include "app/command_ids.h"
#include "data/storage.h"
#include "device/usb_bus.h"
#include "emulator/emulated_usb_bus.h"
#include "emulator/logger_clock.h"
#include "files/job_file.h"
#include "mainframe/main_frame.h"
#include "plot/plot_window.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/init.h>
#include <wx/modalhook.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Every question of the download is answered "No".
class AnswerNo : public wxModalDialogHook {
protected:
    int Enter(wxDialog*) override { return wxID_NO; }
    void Exit(wxDialog*) override {}
};

class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

void Send(MainFrame* frame, int id) {
    wxCommandEvent ev(wxEVT_BUTTON, id);
    frame->ProcessWindowEvent(ev);
}

// Resident memory of the process now and at its peak, in MB.
double StatusMB(const char* field) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    double kb = -1;
    const std::size_t len = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, len) == 0)
            kb = std::atof(line + len + 1);
    std::fclose(f);
    return kb / 1024;
}

std::string Fixed(double value, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double Median(std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// Lets the paint the last command asked for run, and waits until it has.
void AwaitPaint(MainFrame* frame, long before) {
    frame->PlotWindow()->Update();
    while (frame->PlotWindow()->GetPaintCount() == before)
        wxTheApp->Yield(true);
}

MainFrame* ChartingFrame() {
    auto* frame = new MainFrame(wxString::FromUTF8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
    frame->Show();
    frame->SetSize(frame->GetMinSize() + wxSize(1200 - 600, 600 - 300));
    frame->Layout();
    Send(frame, ID_SHOW_FLOW);
    Send(frame, ID_SHOW_PRESSURE);
    for (int i = 0; i < 20; ++i)
        wxTheApp->Yield(true);
    return frame;
}

void Dispose(MainFrame* frame) {
    frame->SetSaved(true);
    frame->Destroy();
    wxTheApp->ProcessIdle();
}

void LiveTickBench(std::vector<std::pair<std::string, std::string>>& results) {
    emu::ManualClock clock;
    emu::EmulatedUsbBus bus;
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    SettingsBlock b = logger.Settings();
    b.sampleRateRegister = 0xFE67;  // 100 ms
    b.stateFlags = 1;
    b.pressureZero = 104;
    b.pressureScale = 2;
    b.pressureScaleFine = 26;
    b.pressureUnit = 98;
    logger.SetSettings(b);
    logger.SetSignal([](double t) {
        return RawSample{static_cast<std::uint16_t>(500 + 100 * std::sin(t)),
                         static_cast<std::uint16_t>(300)};
    });
    SetCurrentUsbBus(&bus);

    std::printf("live tick of a long live record, flow with pressure charted, 1200 x 600 chart (medians)\n");
    std::printf("%10s %14s %16s %12s %12s %12s\n", "samples", "tick (ms)", "tick+paint (ms)", "record MB",
                "baseline MB", "peak MB");
    // The longest first, so that the process's peak is this record's.
    for (int samples : {10000000, 1000000, 100000, 10000}) {
        MainFrame* frame = ChartingFrame();
        const double baseline = StatusMB("VmRSS:");
        Send(frame, ID_RECORD);
        Storage& live = frame->Records()[0];
        live.Reserve(samples + 1000);
        for (int i = 0; i < samples; ++i)
            live.AddRawSample(500 + (i % 200), 300 + (i % 50));
        // The first tick loads the whole record into the chart.
        clock.Advance(1.0);
        wxTimerEvent first(frame->LiveTimer());
        frame->GetEventHandler()->ProcessEvent(first);
        AwaitPaint(frame, frame->PlotWindow()->GetPaintCount() - 1);
        const double recordMB = 4.0 *
                                (live.Times().capacity() + live.Flows().capacity() +
                                 live.Pressures().capacity() + live.Volumes().capacity()) /
                                (1024.0 * 1024.0);
        const double peak = StatusMB("VmHWM:");
        const int rounds = 15;
        std::vector<double> ticks, painted;
        for (int r = 0; r < rounds; ++r) {
            clock.Advance(1.0);
            wxTimerEvent tick(frame->LiveTimer());
            const long before = frame->PlotWindow()->GetPaintCount();
            auto t0 = Clock::now();
            frame->GetEventHandler()->ProcessEvent(tick);
            auto t1 = Clock::now();
            AwaitPaint(frame, before);
            auto t2 = Clock::now();
            ticks.push_back(Ms(t1 - t0));
            painted.push_back(Ms(t2 - t0));
        }
        const double tick = Median(ticks), withPaint = Median(painted);
        // The same with the moving average on (half width 5): loaded
        // whole once as the filter command loads it, then tick by tick.
        live.SetFilter(true, 5);
        frame->ChartRecord(0);
        std::vector<double> filteredTicks;
        for (int r = 0; r < rounds; ++r) {
            clock.Advance(1.0);
            wxTimerEvent filteredTick(frame->LiveTimer());
            const long before = frame->PlotWindow()->GetPaintCount();
            auto t0 = Clock::now();
            frame->GetEventHandler()->ProcessEvent(filteredTick);
            filteredTicks.push_back(Ms(Clock::now() - t0));
            AwaitPaint(frame, before);
        }
        const double filtered = Median(filteredTicks);
        std::printf("%10s filtered tick %.2f ms\n", "", filtered);
        live.SetFilter(false, 5);
        std::printf("%10d %14.2f %16.2f %12.1f %12.1f %12.1f\n", samples, tick, withPaint, recordMB, baseline,
                    peak);
        std::fflush(stdout);
        if (samples == 1000000) {
            results.emplace_back("live_tick_1e6_ms", Fixed(tick, "%.2f ms"));
            results.emplace_back("live_tick_paint_1e6_ms", Fixed(withPaint, "%.2f ms"));
            results.emplace_back("live_tick_filtered_1e6_ms", Fixed(filtered, "%.2f ms"));
        } else if (samples == 10000000) {
            results.emplace_back("live_tick_1e7_ms", Fixed(tick, "%.2f ms"));
            results.emplace_back("live_tick_filtered_1e7_ms", Fixed(filtered, "%.2f ms"));
            results.emplace_back("rss_record_1e7_MB", Fixed(recordMB, "%.1f MB"));
            results.emplace_back("rss_peak_1e7_MB", Fixed(peak, "%.1f MB"));
            std::printf("            peak above the baseline: %.2f x the record\n",
                        (peak - baseline) / recordMB);
        }
        Send(frame, ID_STOP);
        Dispose(frame);
    }
    SetCurrentUsbBus(nullptr);
}

// From the open command on a job file of 10^6 samples to the first painted chart of its record.
void OpenBench(std::vector<std::pair<std::string, std::string>>& results) {
    Storage r(wxString::FromUTF8("24/03/2023 14:05:09"), 100, 1, false, 0, 1);
    r.Reserve(1000000);
    for (int i = 0; i < 1000000; ++i)
        r.AddRawSample(500 + (i % 200), 300 + (i % 50));
    const std::string path = (std::filesystem::temp_directory_path() / "zpm-open-bench.kvr").string();
    jobfile::Save(wxString::FromUTF8(path), std::vector<Storage>{r});
    std::vector<double> times;
    for (int round = 0; round < 5; ++round) {
        MainFrame* frame = ChartingFrame();
        const long before = frame->PlotWindow()->GetPaintCount();
        auto t0 = Clock::now();
        frame->OpenJobFile(wxString::FromUTF8(path));
        frame->ChartRecord(0);
        AwaitPaint(frame, before);
        times.push_back(Ms(Clock::now() - t0));
        Dispose(frame);
    }
    std::filesystem::remove(path);
    std::printf("open a job file of 10^6 samples to its first painted chart: %.1f ms (median of 5)\n",
                Median(times));
    results.emplace_back("open_to_chart_1e6_ms", Fixed(Median(times), "%.1f ms"));
}

void DownloadBench() {
    emu::ManualClock clock;
    emu::EmulatedUsbBus bus;
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    // Fill the memory with events until it is full.
    std::vector<RawSample> event(4000, RawSample{600, 300});
    int events = 0;
    while (logger.AddEvent({2023, 3, 24, 13, 5, 9}, event))
        ++events;
    logger.KeepTransferLog(false);
    SetCurrentUsbBus(&bus);
    AnswerNo answers;
    answers.Register();
    auto* frame = new MainFrame(wxString::FromUTF8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
    frame->SetProgressFactory([] {
        struct None : ProgressIndicator {
            void Pulse() override {}
        };
        return std::make_unique<None>();
    });
    frame->SetSaved(true);
    std::printf("download of %d events, %zu bytes of samples\n", events,
                static_cast<std::size_t>(logger.WriteAddress()));
    for (double latencyMs : {0.0, 0.25}) {
        logger.SetTransferLatency(std::chrono::nanoseconds(static_cast<long>(latencyMs * 1e6)));
        logger.KeepTransferLog(true);
        logger.ClearTransfers();
        auto t0 = Clock::now();
        Send(frame, ID_UPLOAD);
        const double total = Ms(Clock::now() - t0);
        const std::size_t transfers = logger.Transfers().size();
        const double bus = transfers * latencyMs;
        std::printf(
            "  latency %.2f ms: %zu transfers, %.1f ms in all, %.1f ms on the bus, program %.1f ms (%.1f "
            "%%)\n",
            latencyMs, transfers, total, bus, total - bus, bus > 0 ? 100.0 * (total - bus) / bus : 0.0);
        frame->SetSaved(true);
    }
    answers.Unregister();
    frame->Destroy();
    wxTheApp->ProcessIdle();
    SetCurrentUsbBus(nullptr);
}

// A live recording on a disk whose syncs take 500 ms (the slow-sync library preloaded): the record
// command and every live tick, in real time (a tick every 250 ms, the logger's clock a second
// on), for long enough that the recovery journal syncs several times.
void SlowSyncBench(std::vector<std::pair<std::string, std::string>>& results) {
    emu::ManualClock clock;
    emu::EmulatedUsbBus bus;
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    SettingsBlock b = logger.Settings();
    b.sampleRateRegister = 0xFE67;  // 100 ms
    b.stateFlags = 1;
    logger.SetSettings(b);
    logger.SetSignal([](double t) { return RawSample{static_cast<std::uint16_t>(500 + 10 * t), 300}; });
    SetCurrentUsbBus(&bus);
    MainFrame* frame = ChartingFrame();
    auto t0 = Clock::now();
    Send(frame, ID_RECORD);
    const double start = Ms(Clock::now() - t0);
    std::vector<double> ticks;
    const auto until = Clock::now() + std::chrono::seconds(14);
    while (Clock::now() < until) {
        const auto due = Clock::now() + std::chrono::milliseconds(250);
        clock.Advance(1.0);
        wxTimerEvent tick(frame->LiveTimer());
        auto a = Clock::now();
        frame->GetEventHandler()->ProcessEvent(tick);
        ticks.push_back(Ms(Clock::now() - a));
        while (Clock::now() < due)
            wxTheApp->Yield(true);
    }
    const int samples = frame->Records()[0].SampleCount();
    Send(frame, ID_STOP);
    const int expected = static_cast<int>(ticks.size()) * 10;
    std::printf(
        "live recording with syncs of 500 ms: record command %.1f ms; %zu ticks, median %.2f ms, "
        "slowest %.1f ms; %d of %d samples in the record\n",
        start, ticks.size(), Median(ticks), *std::max_element(ticks.begin(), ticks.end()), samples, expected);
    results.emplace_back("live_tick_slow_sync_max_ms",
                         Fixed(*std::max_element(ticks.begin(), ticks.end()), "%.1f ms"));
    results.emplace_back("record_start_slow_sync_ms", Fixed(start, "%.1f ms"));
    Dispose(frame);
    SetCurrentUsbBus(nullptr);
}

// The bytes the program holds through new and delete, and their peak since the last reset: the
// resident size cannot show a moment's copy once freed memory stays with the process.
std::atomic<long long> heldBytes{0}, peakBytes{0};

void Held(long long change) {
    const long long now = heldBytes.fetch_add(change, std::memory_order_relaxed) + change;
    long long peak = peakBytes.load(std::memory_order_relaxed);
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

// A live start in front of ten records of 10^6 samples, the record set full to its capacity so
// that the start makes it grow: the peak memory of the start next to the memory before it. A
// record set that copies its records on growth holds every sample twice for a moment.
void LiveStartPeakBench(std::vector<std::pair<std::string, std::string>>& results) {
    emu::ManualClock clock;
    emu::EmulatedUsbBus bus;
    emu::EmulatedLogger& logger = bus.AddLogger(clock);
    SetCurrentUsbBus(&bus);
    (void)logger;
    MainFrame* frame = ChartingFrame();
    for (int r = 0; r < 10; ++r) {
        Storage record(RecordDateText(wxDateTime::Now()), 100, 1, false, 0, r + 1);
        record.Reserve(1000000);
        for (int i = 0; i < 1000000; ++i)
            record.AddRawSample(500 + (i % 200), 300 + (i % 50));
        frame->AppendRecord(std::move(record));
    }
    frame->Records().shrink_to_fit();
    const double before = heldBytes.load() / (1024.0 * 1024.0);
    peakBytes.store(heldBytes.load());
    Send(frame, ID_RECORD);
    const double peak = peakBytes.load() / (1024.0 * 1024.0);
    std::printf(
        "live start in front of ten records of 10^6 samples: %.1f MB before, peak %.1f MB (%+.1f %%)\n",
        before, peak, 100.0 * (peak - before) / before);
    results.emplace_back("live_start_10x1e6_peak_MB", Fixed(peak, "%.1f MB"));
    Send(frame, ID_STOP);
    Dispose(frame);
    SetCurrentUsbBus(nullptr);
}

}  // namespace

void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    Held(static_cast<long long>(malloc_usable_size(p)));
    return p;
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    if (!p)
        return;
    Held(-static_cast<long long>(malloc_usable_size(p)));
    std::free(p);
}
void operator delete[](void* p) noexcept {
    operator delete(p);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    operator delete(p);
}

int main(int argc, char** argv) {
    // The slow-disk figures run in a process of their own, with the slow-sync library preloaded.
    const bool slowSync = argc > 1 && std::strcmp(argv[1], "--slow-sync") == 0;
    // So does the live start's peak memory, which is the process's own high-water mark.
    const bool liveStart = argc > 1 && std::strcmp(argv[1], "--live-start") == 0;
    if (!slowSync && !liveStart && !std::getenv("LD_PRELOAD")) {
        const std::string command = std::string("LD_PRELOAD=") + ZPM_SLOW_SYNC_LIBRARY +
                                    " ZPM_SYNC_DELAY_MS=500 '" + argv[0] + "' --slow-sync";
        std::fflush(stdout);
        if (std::system(command.c_str()) != 0)
            std::printf("the slow-sync run failed\n");
        if (std::system(("'" + std::string(argv[0]) + "' --live-start").c_str()) != 0)
            std::printf("the live-start run failed\n");
    }
    std::string home = "/tmp/zpm-bench-home-XXXXXX";
    if (!mkdtemp(home.data()))
        return 2;
    setenv("HOME", home.c_str(), 1);
    // Settings and recovery journals in the scratch home, whatever the desktop says.
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    std::filesystem::create_directories(home + "/.config/zpm");
    std::FILE* f = std::fopen((home + "/.config/zpm/zpmv48.ini").c_str(), "w");
    std::fputs("1\n98\n0\n0\n0\n0\n0\n", f);
    std::fclose(f);
    MainFrame::splashEnabled = false;
    wxApp::SetInstance(new BenchApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 2;
    std::vector<std::pair<std::string, std::string>> results;
    if (slowSync) {
        SlowSyncBench(results);
    } else if (liveStart) {
        LiveStartPeakBench(results);
    } else {
        LiveTickBench(results);
        OpenBench(results);
        DownloadBench();
    }
    for (const auto& [name, value] : results)
        std::printf("result: %s %s\n", name.c_str(), value.c_str());
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
