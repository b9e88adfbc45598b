#pragma once

// The span chosen on the chart (the plot window's span mode): a light band between its ends, and
// its figures in a box the user moves like the text box.

#include "plot/layers.h"

#include <wx/colour.h>

// The band; it reads the span from the window and has no extent of its own.
class mpSpanShading : public mpLayer {
public:
    mpSpanShading();
    bool HasBounds() const override { return false; }
    void Draw(wxDC& dc, mpWindow& window) override;
};

// The figures of the span, one line each. On its first draw after Unplace() it goes where it
// covers neither the text box nor the measuring readout (drawn before it); from then on it stays
// where it is or where the user drags it.
class mpSpanReadout : public mpInfoLayer {
public:
    mpSpanReadout();

    void Draw(wxDC& dc, mpWindow& window) override;

    void SetText(const wxString& t) { text = t; }
    const wxString& GetText() const { return text; }
    void Unplace() { placed = false; }
    bool IsPlaced() const { return placed; }

private:
    wxString text;
    bool placed = false;
};
