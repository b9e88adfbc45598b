#pragma once

#include "plot/layers.h"

#include <wx/colour.h>

#include <vector>

// Light bands across the chart that mark stretches of time (the phases of an evaluation), each
// with a short name at its top. It has no extent of its own, so it never changes the fit.
class mpPhaseShading : public mpLayer {
public:
    struct Band {
        double from = 0, to = 0;  // x values (seconds)
        wxColour colour;
        wxString label;
    };

    mpPhaseShading();
    void SetBands(std::vector<Band> bands) { this->bands = std::move(bands); }
    const std::vector<Band>& GetBands() const { return bands; }

    bool HasBounds() const override { return false; }
    void Draw(wxDC& dc, mpWindow& window) override;

private:
    std::vector<Band> bands;
};
