#include "plot/scales.h"

#include "plot/plot_window.h"

#include <wx/dc.h>

namespace {

plotmath::TextMeasure MeasureWith(wxDC& dc) {
    return [&dc](const wxString& text, int& width, int& height) {
        wxCoord w = 0, h = 0;
        dc.GetTextExtent(text, &w, &h);
        width = w;
        height = h;
    };
}

wxPen Dotted(const wxPen& pen) {
    wxPen dotted(pen);
    dotted.SetStyle(wxPENSTYLE_DOT);
    return dotted;
}

// The caption of an axis: its name up to the first blank.
wxString FirstWord(const wxString& name) {
    return name.BeforeFirst(wxUniChar(' '));
}

}  // namespace

mpScaleX::mpScaleX(const wxString& name, int align, bool ticks, bool shortenRight)
    : mpLayer(LayerKind::Axis), align(align), ticks(ticks), shortenRight(shortenRight) {
    SetName(name);
    font = *wxNORMAL_FONT;
    pen = *wxGREY_PEN;
}

void mpScaleX::Draw(wxDC& dc, mpWindow& window) {
    if (!visible)
        return;
    dc.SetPen(pen);
    dc.SetFont(font);
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();

    plotmath::TimeAxisInput in;
    in.W = W;
    in.H = H;
    in.centreX = window.GetCentreX();
    in.scaleX = window.GetScaleX();
    in.centreY = window.GetCentreY();
    in.scaleY = window.GetScaleY();
    in.bottomMargin = window.GetBottomMargin();
    in.dateLabels = window.GetDateLabels();
    in.startTime = window.GetStartTime();
    in.secondarySeries = window.HasSecondarySeries();
    in.shortenRight = shortenRight;
    in.align = align;
    const plotmath::TimeAxisLayout layout = plotmath::LayoutTimeAxis(in, MeasureWith(dc));
    // Without a start time there is no date row to keep room for.
    if (!in.startTime.IsValid())
        window.SetBottomMargin(35);

    const int y = layout.y;
    dc.DrawLine(layout.lineLeft, y, layout.lineRight, y);
    for (const plotmath::TimeAxisTick& tick : layout.ticks) {
        if (ticks) {
            dc.DrawLine(tick.px, y, tick.px, align == 4 ? y - 4 : y + 4);
        } else {
            dc.SetPen(Dotted(pen));
            dc.DrawLine(tick.px, 30 - H / 2, tick.px, y);
            dc.SetPen(pen);
        }
        if (!tick.labelled)
            continue;
        wxCoord tw = 0, th = 0;
        dc.GetTextExtent(tick.label, &tw, &th);
        if (align == 4) {
            dc.DrawText(tick.label, tick.labelX, y - th - 4);
            if (layout.dateRow)
                dc.DrawText(tick.date, tick.labelX, y - th - 14);
        } else {
            dc.DrawText(tick.label, tick.labelX, y + 4);
            if (layout.dateRow)
                dc.DrawText(tick.date, tick.labelX, y + 14);
            dc.DrawLine(tick.px, y + 5, tick.px, y);
        }
    }

    if (align != 0) {
        wxCoord tw = 0, th = 0;
        dc.GetTextExtent(name, &tw, &th);
        if (align == 4)
            dc.DrawText(name, W / 2 - tw - 4, y - 2 * th - 4);
        else
            dc.DrawText(name, 0, layout.dateRow ? y + th + 12 : y + th);
    }
}

mpScaleY::mpScaleY(const wxString& name, int align, bool ticks, bool shortenRight)
    : mpLayer(LayerKind::Axis), align(align), ticks(ticks), shortenRight(shortenRight) {
    SetName(name);
    font = *wxSMALL_FONT;
    pen = *wxGREY_PEN;
    caption = FirstWord(name);
}

namespace {

// What a value axis needs of the window: the primary or the secondary scale.
plotmath::ValueAxisInput ValueAxisInputOf(mpWindow& window, int align, bool secondary) {
    plotmath::ValueAxisInput in;
    in.W = window.GetPlotWidth();
    in.H = window.GetPlotHeight();
    in.centre = secondary ? window.GetCentreY2() : window.GetCentreY();
    in.scale = secondary ? window.GetScaleY2() : window.GetScaleY();
    in.centreX = window.GetCentreX();
    in.scaleX = window.GetScaleX();
    in.bottomMargin = window.GetBottomMargin();
    in.align = align;
    in.secondary = secondary;
    return in;
}

// A value axis, left (primary) or right (secondary): its line, tick marks or grid lines, labels and
// name. The two sides mirror each other: marks and labels point away from the chart, the right
// axis' grid spans the whole width and its name reads downwards.
void DrawValueAxis(wxDC& dc, mpWindow& window, const wxPen& pen, const wxString& name, int align, bool ticks,
                   bool shortenRight, bool secondary) {
    dc.SetPen(pen);
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    const plotmath::ValueAxisInput in = ValueAxisInputOf(window, align, secondary);
    const plotmath::ValueAxisLayout layout = plotmath::LayoutValueAxis(in, MeasureWith(dc));
    const int x = layout.x;
    dc.DrawLine(x, -H / 2, x, H / 2 - in.bottomMargin);

    for (const plotmath::ValueAxisTick& tick : layout.ticks) {
        if (ticks) {
            if (align == 4)
                dc.DrawLine(x, tick.py, x + 4, tick.py);
            else
                dc.DrawLine(secondary ? x + 4 : x - 4, tick.py, x, tick.py);
        } else {
            dc.SetPen(Dotted(pen));
            if (secondary)
                dc.DrawLine(-W, tick.py, W, tick.py);
            else
                dc.DrawLine(x, tick.py, shortenRight ? W / 2 - 50 : W / 2, tick.py);
            dc.SetPen(pen);
        }
        if (!tick.labelled)
            continue;
        wxCoord tw = 0, th = 0;
        dc.GetTextExtent(tick.label, &tw, &th);
        const int labelX = align == 4 ? x + 4 : secondary ? x + 6 : x - tw - 4;
        dc.DrawText(tick.label, labelX, tick.py - th / 2);
    }

    if (align == 0)
        return;
    wxCoord tw = 0, th = 0;
    dc.GetTextExtent(name, &tw, &th);
    if (align == 4)
        dc.DrawText(name, x - tw - 4, th - H / 2 + 4);
    else if (align == 5 && secondary)
        dc.DrawRotatedText(name, W / 2 - 5, -tw / 2, -90);
    else if (align == 5)
        dc.DrawText(name, x - tw - 4, 4 - H / 2);
    else if (secondary)
        dc.DrawText(name, x + 4, 4 - H / 2);
    else
        dc.DrawRotatedText(name, x - 48, tw / 2, 90);
}

// A legend caption right of the sample of a row (its centre `row` pixels below the top).
void DrawCaption(wxDC& dc, mpWindow& window, const wxString& caption, int row) {
    if (caption.empty())
        return;
    wxCoord w = 0, h = 0;
    dc.GetTextExtent(caption, &w, &h);
    dc.DrawText(caption, 80 - window.GetPlotWidth() / 2, row - window.GetPlotHeight() / 2 - h / 2);
}

}  // namespace

void mpScaleY::Draw(wxDC& dc, mpWindow& window) {
    if (!visible)
        return;
    dc.SetFont(font);
    DrawValueAxis(dc, window, pen, name, align, ticks, shortenRight, false);
    if (align != 4) {
        DrawCaption(dc, window, caption2, 10);
        DrawCaption(dc, window, caption, 22);
    }
}

mpScaleYVext::mpScaleYVext(const wxString& name, int align, bool ticks)
    : mpLayer(LayerKind::Axis), align(align), ticks(ticks) {
    SetName(name);
    font = *wxSMALL_FONT;
    pen = *wxGREY_PEN;
}

void mpScaleYVext::Draw(wxDC& dc, mpWindow& window) {
    if (!visible)
        return;
    dc.SetFont(font);
    // Always grey, whatever pen it was given.
    DrawValueAxis(dc, window, *wxGREY_PEN, name, align, ticks, false, true);
    if (align != 4)
        DrawCaption(dc, window, FirstWord(name), 35);
}
