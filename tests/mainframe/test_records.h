#pragma once

#include "data/storage.h"

#include <vector>

// Records for main-window tests, built from arrays of engineering values (flow unit 0).
inline Storage MakeRecord(const char* title, const char* dateText, const std::vector<float>& flows,
                          const std::vector<float>& pressures = {}, int intervalMs = 1000, int unitSystem = 1,
                          int pressureUnit = 98) {
    Storage r(wxString::FromUTF8(dateText), intervalMs, unitSystem, false, 0, 1);
    r.SetTitle(wxString::FromUTF8(title));
    r.SetPressureUnit(static_cast<std::uint8_t>(pressureUnit));
    double volume = 0;
    for (std::size_t i = 0; i < flows.size(); ++i) {
        volume += flows[i] * intervalMs / 60000.0;
        float p = i < pressures.size() ? pressures[i] : 0.0f;
        r.AddSample(static_cast<float>((i + 1) * intervalMs / 1000.0), flows[i], p,
                    static_cast<float>(volume));
    }
    return r;
}
