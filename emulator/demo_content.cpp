#include "emulator/demo_content.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <random>

namespace emu {

namespace {

// Converter reading for a pressure in bar with the logger's default calibration
// (zero 104, 2.26 counts per psi).
int AdcFromBar(double bar) {
    return static_cast<int>(std::lround(104 + bar * 14.5038 * 2.26));
}

}  // namespace

std::vector<RawSample> HydrantTest(int samples, int plateauFlow, int staticPressure, int residualPressure,
                                   unsigned seed) {
    std::mt19937 rng(seed);
    std::normal_distribution<double> flowNoise(0.0, plateauFlow * 0.02);
    std::normal_distribution<double> pressureNoise(0.0, 2.0);
    std::vector<RawSample> out;
    out.reserve(samples);
    int ramp = std::max(3, samples / 6);
    for (int i = 0; i < samples; ++i) {
        // 0 to 1: opening the hydrant, holding the plateau, closing it again
        double share = 1.0;
        if (i < ramp)
            share = 0.5 - 0.5 * std::cos(M_PI * i / ramp);
        else if (i >= samples - ramp)
            share = 0.5 - 0.5 * std::cos(M_PI * (samples - 1 - i) / ramp);
        double flow = share * plateauFlow + (share > 0.05 ? flowNoise(rng) : 0.0);
        double pressure = staticPressure - share * (staticPressure - residualPressure) + pressureNoise(rng);
        RawSample s;
        s.flow = static_cast<std::uint16_t>(std::clamp(std::lround(flow), 0L, 16383L));
        s.pressure = static_cast<std::uint16_t>(std::clamp(std::lround(pressure), 0L, 1023L));
        out.push_back(s);
    }
    return out;
}

void FillDemoContent(EmulatedLogger& logger) {
    SettingsBlock b = logger.Settings();
    b.sampleRateRegister = RegisterFromTenths(10);
    b.stateFlags = 1;  // metric, automatic logging off
    b.flowOnThreshold = 50;
    b.flowOnDelay = 2;
    b.flowOffThreshold = 30;
    b.flowOffDelay = 10;
    b.pressureScale = 2;
    b.pressureZero = 104;
    b.pressureScaleFine = 26;
    b.pressureUnit = 98;
    b.serialNumber = 2417;
    b.manufactureDate[0] = 0x12;
    b.manufactureDate[1] = 0x09;
    b.manufactureDate[2] = 0x22;
    logger.SetSettings(b);
    logger.ClearEvents();

    struct Test {
        CivilTime start;
        int samples, flow;
        double staticBar, residualBar;
    };
    const Test tests[] = {
        {{2023, 3, 24, 9, 7, 2}, 180, 620, 5.2, 3.9},
        {{2023, 3, 24, 10, 31, 45}, 420, 850, 6.1, 3.2},
        {{2023, 3, 24, 13, 5, 9}, 95, 410, 4.8, 4.1},
        {{2023, 3, 27, 8, 52, 30}, 600, 730, 5.6, 2.7},
    };
    unsigned seed = 7;
    for (const Test& t : tests) {
        logger.AddEvent(t.start, HydrantTest(t.samples, t.flow, AdcFromBar(t.staticBar),
                                             AdcFromBar(t.residualBar), seed++));
    }
    logger.SetBatteryReading(190);
    logger.SetSignal(DemoSignal);
    logger.SetClock(LocalTimeNow(), 0x21);
}

RawSample DemoSignal(double seconds) {
    const double period = 120.0;
    double phase = std::fmod(seconds, period) / period;  // 0 to 1
    double share = 0.0;
    if (phase > 0.1 && phase < 0.9)
        share = std::min(1.0, std::min(phase - 0.1, 0.9 - phase) * 6.0);
    // Noise from the tick time itself, so the signal stays a function of time.
    double noise = std::sin(seconds * 12.9898) * 43758.5453;
    noise = noise - std::floor(noise) - 0.5;  // -0.5 to 0.5
    double flow = share * 640.0 + (share > 0.05 ? noise * 26.0 : 0.0);
    double pressure = AdcFromBar(5.4) - share * (AdcFromBar(5.4) - AdcFromBar(3.6)) + noise * 4.0;
    RawSample s;
    s.flow = static_cast<std::uint16_t>(std::clamp(std::lround(flow), 0L, 16383L));
    s.pressure = static_cast<std::uint16_t>(std::clamp(std::lround(pressure), 0L, 1023L));
    return s;
}

CivilTime LocalTimeNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return CivilTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace emu
