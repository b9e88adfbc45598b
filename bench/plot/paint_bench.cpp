// Paints the flow chart with pressure on the second axis (time axis, flow axis, secondary
// pressure axis, flow and pressure series, legend with a measured value, text box) into a
// 1200 x 600 plot window and prints the milliseconds per paint (the median of many, each from the
// invalidation until the window's paint has run), for the whole recording in view, for a tenth of
// it and for the whole recording drawn as points, the raster way of the window and, in the same
// run, the vector way of a printer. Usage under Xvfb:
//   xvfb-run -a -s "-screen 0 1600x1200x24" plot_paint_bench
// ZPM_BENCH_LAYERS=1 prints each layer's share.

#include "plot/layers.h"
#include "plot/plot_window.h"
#include "plot/scales.h"

#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

namespace {

wxString U(const char* text) {
    return wxString::FromUTF8(text);
}

class BenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

// One paint as the screen gets it: invalidate, then let the paint run. The median of the rounds,
// so that a paint held up by another process on the machine does not count.
double PaintMs(mpWindow& plot, int rounds) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const long before = plot.GetPaintCount();
        plot.Refresh(false);
        plot.Update();
        while (plot.GetPaintCount() == before)
            wxTheApp->Yield(true);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

// With ZPM_BENCH_LAYERS set: the processor time of this thread per layer, what each layer costs
// whatever else the machine runs.
void PrintLayerTimes(mpWindow& plot, int rounds, const char* what) {
    if (!std::getenv("ZPM_BENCH_LAYERS"))
        return;
    wxBitmap bitmap(plot.GetPlotWidth(), plot.GetPlotHeight());
    wxMemoryDC dc(bitmap);
    dc.SetDeviceOrigin(plot.GetPlotWidth() / 2, plot.GetPlotHeight() / 2);
    const auto cpuMs = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    };
    std::printf("   per layer, %s (processor ms):", what);
    for (mpLayer* layer : plot.Layers()) {
        const double s = cpuMs();
        for (int i = 0; i < rounds; ++i)
            layer->Draw(dc, plot);
        std::printf(" %.2f", (cpuMs() - s) / rounds);
    }
    std::printf("\n");
}

// Series as the chart's points mode draws them: separate dots of the points pen, or lines.
void SetPoints(std::initializer_list<mpLayer*> series, bool points) {
    for (mpLayer* s : series) {
        wxPen pen = s->GetPen();
        pen.SetWidth(points ? 6 : 2);
        s->SetPen(pen);
        s->SetContinuity(!points);
    }
}

struct Recording {
    std::vector<float> times, flows, pressures, volumes;
};

// A recording at 100 ms: flow with noise and slow swings, pressure following it.
Recording MakeRecording(std::size_t n) {
    Recording r;
    r.times.resize(n);
    r.flows.resize(n);
    r.pressures.resize(n);
    r.volumes.resize(n);
    std::mt19937 rng(42);
    std::normal_distribution<float> noise(0, 0.8f);
    double volume = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = i * 0.1;
        const float flow = static_cast<float>(20 + 8 * std::sin(t / 900) + 3 * std::sin(t / 37)) + noise(rng);
        r.times[i] = static_cast<float>(t);
        r.flows[i] = flow;
        r.pressures[i] = 3.5f - flow * 0.05f + noise(rng) * 0.05f;
        volume += flow * 0.1 / 60;
        r.volumes[i] = static_cast<float>(volume);
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    wxApp::SetInstance(new BenchApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        std::fprintf(stderr, "cannot start wx (is there a display?)\n");
        return 2;
    }
    {
        std::vector<std::pair<const char*, double>> results;
        auto* frame = new wxFrame(nullptr, wxID_ANY, U("Plot bench"));
        auto* plot = new mpWindow(frame, wxID_ANY, wxDefaultPosition, wxSize(1200, 600), wxSUNKEN_BORDER);
        frame->SetClientSize(1200, 600);
        frame->Show();
        for (int i = 0; i < 200 && plot->GetClientSize().x < 1100; ++i)
            wxTheApp->Yield(true);

        const wxFont bold9(9, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
        const wxFont bold12(12, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
        mpScaleX timeAxis(U("Zeit (h:m:s)"), 2, true, true);
        mpScaleY flowAxis(U("Durchfluss (l/min)"), 2, true, true);
        mpScaleYVext pressureAxis(U("Druck (bar)"), 5, true);
        for (mpLayer* axis : std::initializer_list<mpLayer*>{&timeAxis, &flowAxis, &pressureAxis}) {
            axis->SetPen(*wxGREY_PEN);
            axis->SetFont(bold9);
        }
        mpFXYVector flow;
        mpFXYVectorVext pressure;
        flow.SetPen(wxPen(*wxBLUE, 2, wxPENSTYLE_SOLID));
        pressure.SetPen(wxPen(*wxRED, 2, wxPENSTYLE_SOLID));
        for (mpLayer* s : std::initializer_list<mpLayer*>{&flow, &pressure}) {
            s->SetFont(bold9);
            s->SetContinuity(true);
            s->SetName(U("Messung 1 05.03.2024"));
        }
        flow.SetValuePrefix1(U("Durchfluss"));
        flow.SetValueSuffix1(U("l/min"));
        flow.SetValuePrefix2(U("Volumen"));
        flow.SetValueSuffix2(U("l"));
        pressure.SetValuePrefix1(U("Druck"));
        pressure.SetValueSuffix1(U("bar"));
        mpInfoLegend legend(200, 20, 40, 40, *wxTRANSPARENT_BRUSH);
        mpInfoTextBox textBox(200, 20, 40, 40, *wxTRANSPARENT_BRUSH);
        legend.SetFont(bold12);
        textBox.SetFont(bold12);
        textBox.SetText(U("Hydrant 12\nNennweite 80"));

        plot->SetDateLabels(true);
        plot->SetBottomMargin(45);
        plot->SetStartTime(wxDateTime(5, wxDateTime::Mar, 2024, 8, 0, 0));
        for (mpLayer* layer : std::initializer_list<mpLayer*>{&timeAxis, &flowAxis, &flow, &pressureAxis,
                                                              &pressure, &legend, &textBox})
            plot->AttachLayer(layer);

        // What a paint costs before any series draws: the buffer's background, the axes and boxes,
        // and the copy to the screen.
        PaintMs(*plot, 5);  // the window's first paints
        const double empty = PaintMs(*plot, 30);
        std::printf("empty window: %.2f ms per paint\n", empty);
        std::fflush(stdout);

        std::printf("flow with pressure, 1200 x 600 window, ms per paint (median)\n");
        std::printf("%10s %12s %12s %12s\n", "samples", "whole view", "tenth", "points");
        for (std::size_t n :
             {std::size_t(10000), std::size_t(100000), std::size_t(1000000), std::size_t(10000000)}) {
            Recording r = MakeRecording(n);
            flow.SetDataWithExtra(r.times, r.flows, r.volumes, 0);
            pressure.SetData(r.times, r.pressures);
            r = Recording();
            plot->Fit();
            // A measured value in the legend, measured again at every paint.
            plot->SetMeasureMode1(true);
            wxMouseEvent click(wxEVT_LEFT_DOWN);
            click.m_x = 700;
            click.m_y = 300;
            click.m_leftDown = true;
            plot->GetEventHandler()->ProcessEvent(click);
            PaintMs(*plot, 2);  // warm up

            const int rounds = n >= 10000000 ? 15 : 30;
            const double whole = PaintMs(*plot, rounds);
            PrintLayerTimes(*plot, rounds, "lines");
            SetPoints({&flow, &pressure}, true);
            PaintMs(*plot, 2);
            const double points = PaintMs(*plot, rounds);
            PrintLayerTimes(*plot, rounds, "points");
            // The same the vector way (lines stroked, each dot drawn by the DC), in this run
            // (points up to 10^6 only: at 10^7 they take seconds a paint).
            flow.SetRasterDrawing(false);
            pressure.SetRasterDrawing(false);
            double pointsVector = -1;
            if (n <= 1000000) {
                PaintMs(*plot, 1);
                pointsVector = PaintMs(*plot, n >= 1000000 ? 3 : rounds);
            }
            SetPoints({&flow, &pressure}, false);
            PaintMs(*plot, 2);
            const double wholeVector = PaintMs(*plot, rounds);
            flow.SetRasterDrawing(true);
            pressure.SetRasterDrawing(true);
            std::printf(
                "%10s vector way: whole view %.2f ms (raster %.2f x faster), points %.2f ms "
                "(raster %.2f x faster)\n",
                "", wholeVector, wholeVector / whole, pointsVector, pointsVector / points);
            plot->SetScaleX(plot->GetScaleX() * 10);
            const double tenth = PaintMs(*plot, rounds);
            std::printf("%10zu %12.2f %12.2f %12.2f\n", n, whole, tenth, points);
            if (n == 1000000) {
                results.emplace_back("paint_1e6_ms", whole);
                results.emplace_back("paint_points_1e6_ms", points);
                results.emplace_back("paint_vector_1e6_ms", wholeVector);
                results.emplace_back("paint_points_vector_1e6_ms", pointsVector);
            } else if (n == 10000000) {
                results.emplace_back("paint_1e7_ms", whole);
                results.emplace_back("paint_vector_1e7_ms", wholeVector);
            }
            std::fflush(stdout);
        }
        std::printf("result: empty_window_ms %.2f ms\n", empty);
        for (const auto& [name, value] : results)
            std::printf("result: %s %.2f ms (%.2f x the empty window)\n", name, value, value / empty);
        for (int key = 0; key < plot->LayerCount() + 1; ++key)
            plot->DetachLayer(key);
        frame->Destroy();
        wxTheApp->Yield(true);
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
