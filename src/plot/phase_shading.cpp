#include "plot/phase_shading.h"

#include "plot/plot_window.h"

#include <wx/dc.h>

#include <algorithm>
#include <cmath>

mpPhaseShading::mpPhaseShading() : mpLayer(LayerKind::Axis) {}

void mpPhaseShading::Draw(wxDC& dc, mpWindow& window) {
    if (!visible)
        return;
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    const double centre = window.GetCentreX(), scale = window.GetScaleX();
    wxFont labelFont(font);
    labelFont.SetPointSize(9);
    dc.SetFont(labelFont);
    // The labels' colours are the bands' own; the layers drawn after these write in theirs.
    const wxColour text = dc.GetTextForeground();
    for (const Band& band : bands) {
        // Clip in data units first, so a far zoom never hands the device huge coordinates.
        const double left = std::clamp((band.from - centre) * scale, -W / 2.0, W / 2.0);
        const double right = std::clamp((band.to - centre) * scale, -W / 2.0, W / 2.0);
        if (!std::isfinite(left) || !std::isfinite(right) || right - left < 1)
            continue;
        const int x = static_cast<int>(std::floor(left)), w = static_cast<int>(std::ceil(right - left));
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(wxColour(band.colour.Red(), band.colour.Green(), band.colour.Blue(), 56)));
        dc.DrawRectangle(x, -H / 2, w, H);
        dc.SetPen(wxPen(band.colour, 1, wxPENSTYLE_SHORT_DASH));
        dc.DrawLine(x, -H / 2, x, H / 2);
        dc.DrawLine(x + w - 1, -H / 2, x + w - 1, H / 2);
        wxCoord tw = 0, th = 0;
        dc.GetTextExtent(band.label, &tw, &th);
        if (tw + 4 <= w) {
            dc.SetTextForeground(band.colour.ChangeLightness(60));
            dc.DrawText(band.label, x + (w - tw) / 2, -H / 2 + 40);
        }
    }
    dc.SetBrush(wxNullBrush);
    dc.SetTextForeground(text);
}
