// Prints the cost of one live tick (record list refresh, chart load, one paint of flow with
// pressure) for long live records, and the program's own share of a full download with a
// realistic 0.25 ms per USB transfer. Run under xvfb-run.
#include "acquisition/progress.h"
#include "app/app_settings.h"
#include "app/command_ids.h"
#include "device/usb_bus.h"
#include "emulator/emulated_usb_bus.h"
#include "emulator/logger_clock.h"
#include "mainframe/main_frame.h"
#include "plot/plot_window.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/init.h>
#include <wx/modalhook.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

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

void LiveTickBench() {
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

    std::printf("live tick (list refresh, chart load, paint of flow with pressure), 1200 x 600 chart\n");
    for (int samples : {10000, 100000, 1000000}) {
        auto* frame = new MainFrame(wxString::FromUTF8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
        frame->Show();
        frame->SetSize(frame->GetMinSize() + wxSize(1200 - 600, 600 - 300));
        frame->Layout();
        Send(frame, ID_SHOW_FLOW);
        Send(frame, ID_SHOW_PRESSURE);
        Send(frame, ID_RECORD);
        Storage& live = frame->Records()[0];
        live.Reserve(samples + 1000);
        for (int i = 0; i < samples; ++i)
            live.AddRawSample(500 + (i % 200), 300 + (i % 50));
        wxTheApp->Yield(true);
        const int rounds = 10;
        double total = 0;
        for (int r = 0; r < rounds; ++r) {
            clock.Advance(1.0);
            wxTimerEvent tick(frame->LiveTimer());
            auto t0 = Clock::now();
            frame->GetEventHandler()->ProcessEvent(tick);
            frame->PlotWindow()->Update();  // the paint the tick asked for
            total += Ms(Clock::now() - t0);
        }
        std::printf("  %8d samples: %7.2f ms per tick\n", samples, total / rounds);
        // Where the time goes: the record list, loading the chart, one paint.
        double list = 0, chart = 0, paint = 0;
        for (int r = 0; r < rounds; ++r) {
            auto t0 = Clock::now();
            frame->RefreshRecordList();
            auto t1 = Clock::now();
            frame->ChartRecord(0);
            auto t2 = Clock::now();
            frame->PlotWindow()->Refresh();
            frame->PlotWindow()->Update();
            auto t3 = Clock::now();
            list += Ms(t1 - t0);
            chart += Ms(t2 - t1);
            paint += Ms(t3 - t2);
        }
        std::printf("            list %.2f ms, chart load %.2f ms, paint %.2f ms\n", list / rounds,
                    chart / rounds, paint / rounds);
        Send(frame, ID_STOP);
        frame->SetSaved(true);
        frame->Destroy();
        wxTheApp->ProcessIdle();
    }
    SetCurrentUsbBus(nullptr);
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

}  // namespace

int main(int argc, char** argv) {
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
    LiveTickBench();
    DownloadBench();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
