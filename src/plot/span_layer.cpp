#include "plot/span_layer.h"

#include "plot/plot_math.h"
#include "plot/plot_window.h"
#include "plot/span_stats.h"

#include <wx/dc.h>

#include <algorithm>
#include <cmath>

mpSpanShading::mpSpanShading() : mpLayer(LayerKind::Axis) {
    SetPen(wxPen(wxColour(40, 90, 160), 1, wxPENSTYLE_SOLID));
}

void mpSpanShading::Draw(wxDC& dc, mpWindow& window) {
    if (!visible || !window.HasSpan())
        return;
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    const double centre = window.GetCentreX(), scale = window.GetScaleX();
    // Clipped in data units first: a far zoom never hands the device huge coordinates.
    const double left = std::clamp((window.GetSpanFrom() - centre) * scale, -W / 2.0 - 2, W / 2.0 + 2);
    const double right = std::clamp((window.GetSpanTo() - centre) * scale, -W / 2.0 - 2, W / 2.0 + 2);
    if (!std::isfinite(left) || !std::isfinite(right))
        return;
    const int x = static_cast<int>(std::floor(left));
    const int w = std::max(1, static_cast<int>(std::ceil(right)) - x);
    const wxColour c = pen.GetColour();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxColour(c.Red(), c.Green(), c.Blue(), 48)));
    dc.DrawRectangle(x, -H / 2, w, H);
    dc.SetPen(pen);
    dc.DrawLine(x, -H / 2, x, H / 2);
    dc.DrawLine(x + w, -H / 2, x + w, H / 2);
    dc.SetBrush(wxNullBrush);
}

mpSpanReadout::mpSpanReadout() : mpInfoLayer(0, 0, 1, 1, *wxTRANSPARENT_BRUSH) {
    SetPen(*wxBLACK_PEN);
}

void mpSpanReadout::Draw(wxDC& dc, mpWindow& window) {
    if (!visible || text.empty())
        return;
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    dc.SetFont(font);
    std::vector<int> lineHeights;
    int width = 0, height = 0;
    plotmath::TextBoxSize(
        text,
        [&dc](const wxString& t, int& w, int& h) {
            wxCoord tw = 0, th = 0;
            dc.GetTextExtent(t, &tw, &th);
            w = tw;
            h = th;
        },
        width, height, &lineHeights);
    if (height == 0)
        return;
    box.width = width;
    box.height = height;
    if (!placed && W > 0 && H > 0) {
        // Clear of the boxes that show now: the text box and the legend draw before this one.
        std::vector<spanstats::Box> obstacles;
        for (const mpLayer* layer : window.Layers()) {
            const auto* other = dynamic_cast<const mpInfoLayer*>(layer);
            if (!other || other == this || !other->IsVisible())
                continue;
            if (const auto* note = dynamic_cast<const mpInfoTextBox*>(other); note && note->GetText().empty())
                continue;
            if (dynamic_cast<const mpInfoLegend*>(other) && mpInfoLegend::Rows(window).empty())
                continue;
            const wxRect r = other->GetRect();
            obstacles.push_back({r.x, r.y, r.width, r.height});
        }
        const spanstats::Box place = spanstats::FreePlace(width, height, W, H, obstacles);
        box.x = box.refX = place.x;
        box.y = box.refY = place.y;
        box.lastW = W;
        box.lastH = H;
        placed = true;
    }
    // Dragged like the text box, and kept in its relative place when the window is resized.
    const plotmath::PointerState pointer = window.LeftPointer();
    double ax = 0, ay = 0;
    dragged = plotmath::PlaceBox(box, pointer, W, H, ax, ay);
    box.x = std::max(std::min(box.x, W - W / 2 - box.width - 1), -(W / 2));
    box.y = std::max(std::min(box.y, H - H / 2 - box.height - 1), -(H / 2));

    dc.SetPen(pen);
    dc.SetBrush(wxBrush(wxColour(255, 250, 225)));
    dc.DrawRectangle(box.x, box.y, box.width, box.height);
    const std::vector<wxString> lines = plotmath::SplitLines(text);
    int above = 0;
    for (std::size_t i = 0; i < lines.size() && i < lineHeights.size(); ++i) {
        dc.DrawText(lines[i], box.x + 5, box.y + 5 + above);
        above += lineHeights[i];
    }
}
