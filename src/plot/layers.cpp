#include "plot/layers.h"

#include "plot/plot_events.h"
#include "plot/plot_window.h"
#include "plot/series_ink.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>
#include <unordered_map>

using plotmath::AxisMap;
using plotmath::PixelInt;

namespace {

plotmath::TextMeasure MeasureWith(wxDC& dc) {
    return [&dc](const wxString& text, int& width, int& height) {
        wxCoord w = 0, h = 0;
        dc.GetTextExtent(text, &w, &h);
        width = w;
        height = h;
    };
}

// A line in pixels relative to the chart centre, as far as the drawing library can hold it.
void DrawClippedLine(wxDC& dc, double x1, double y1, double x2, double y2) {
    if (plotmath::ClipToDrawable(x1, y1, x2, y2))
        dc.DrawLine(static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)),
                    static_cast<int>(std::lround(x2)), static_cast<int>(std::lround(y2)));
}

// The measuring cross-hair: a vertical line at the click column, a horizontal one at the sample.
void DrawCrossHair(wxDC& dc, int W, int H, int column, double row) {
    dc.SetPen(*wxGREY_PEN);
    DrawClippedLine(dc, column, -W / 2, column, W / 2);
    DrawClippedLine(dc, -H, std::trunc(row), H, std::trunc(row));
}

// The marker square; one far outside the view is not drawn at all.
void DrawMarker(wxDC& dc, int x, int y) {
    if (plotmath::DrawablePoint(x - 5, y - 5) && plotmath::DrawablePoint(x + 5, y + 5))
        dc.DrawRectangle(x - 5, y - 5, 10, 10);
}

void SendMeasure(mpWindow& window, wxObject* series, const wxString& text, int which) {
    wxCommandEvent event(zpmEVT_PLOT_MEASURE, wxID_ANY);
    event.SetEventObject(series);
    event.SetString(text);
    event.SetInt(which);
    window.ProcessWindowEvent(event);
}

}  // namespace

mpLayer::mpLayer(LayerKind kind) : font(*wxNORMAL_FONT), pen(*wxBLACK_PEN), kind(kind) {}

// ---------------------------------------------------------------------------------------------
// Samples

void SeriesSamples::Set(ColumnRef newXs, ColumnRef newYs, ColumnRef newExtras) {
    xs = newXs ? std::move(newXs) : CopiedColumn({});
    ys = newYs ? std::move(newYs) : CopiedColumn({});
    extras = std::move(newExtras);
    extent = plotmath::Extent{};
    // A sample needs both values; a longer vector's tail is not drawn and not measured.
    const std::size_t n = Count();
    float lo = 0, hi = 0;
    const bool anyX = n == xs->Size() ? xs->Range(lo, hi) : plotmath::FiniteValueRange(xs->Data(), n, lo, hi);
    if (anyX) {
        extent.minX = lo - 0.5;
        extent.maxX = hi + 0.5;
    }
    const bool anyY = n == ys->Size() ? ys->Range(lo, hi) : plotmath::FiniteValueRange(ys->Data(), n, lo, hi);
    if (anyY) {
        extent.minY = lo - 0.5;
        extent.maxY = hi + 0.5;
    }
}

std::size_t SeriesSamples::Count() const {
    return std::min(xs->Size(), ys->Size());
}

bool SeriesSamples::At(int index, double& x, double& y, double& extra) const {
    if (index < 0 || static_cast<std::size_t>(index) >= Count())
        return false;
    x = xs->At(index);
    y = ys->At(index);
    extra = extras && static_cast<std::size_t>(index) < extras->Size() ? extras->At(index) : -1.0;
    return true;
}

bool SeriesSamples::Next(double& x, double& y) {
    if (cursor >= Count())
        return false;
    x = xs->At(cursor);
    y = ys->At(cursor);
    ++cursor;
    return true;
}

bool SeriesSamples::FindNearest(double x, double& outX, double& outY, double& outExtra) {
    if (Count() == 0)
        return false;
    const std::size_t index = plotmath::NearestIndex(xs->Data(), Count(), x, xs->Sorted());
    cursor =
        static_cast<unsigned int>(std::min<std::size_t>(Count(), std::numeric_limits<unsigned int>::max()));
    return At(static_cast<int>(index), outX, outY, outExtra);
}

void SeriesSamples::Segments(const AxisMap& mapX, const AxisMap& mapY, int W, int H, int penWidth,
                             bool mergeColumns, std::vector<plotmath::Segment>& out) const {
    // The quick path needs x in order and every y finite, as the extremes of y are then kept.
    const plotmath::MinMaxPyramid* extremes = ys->Extremes();
    plotmath::BuildContinuousSegments(xs->Data(), ys->Data(), Count(), xs->Sorted() && extremes, extremes,
                                      mapX, mapY, W, H, penWidth, mergeColumns, out);
}

void SeriesSamples::Dots(const AxisMap& mapX, const AxisMap& mapY, int W, int H, int penWidth,
                         plotmath::DotCounts& out) const {
    plotmath::CountDots(xs->Data(), ys->Data(), Count(), xs->Sorted(), mapX, mapY, W, H, penWidth, out);
}

// ---------------------------------------------------------------------------------------------
// Series shape

void mpSeriesShape::DrawShape(wxDC& dc, SeriesInk& ink, const wxPen& pen, bool continuous,
                              const AxisMap& mapX, const AxisMap& mapY, int W, int H) {
    const int penWidth = pen.GetWidth();
    if (continuous) {
        std::vector<plotmath::Segment> segments;
        CollectSegments(mapX, mapY, W, H, penWidth, pen.GetStyle() == wxPENSTYLE_SOLID, segments);
        ink.Lines(dc, pen, segments, raster);
    } else {
        // Kept between paints: the counts cover the whole view.
        CollectDots(mapX, mapY, W, H, penWidth, ink.Counts());
        ink.Dots(dc, pen, penWidth > 1, raster);
    }
}

// ---------------------------------------------------------------------------------------------
// Primary series

mpFXY::mpFXY(const wxString& name, int labelCorner)
    : mpLayer(LayerKind::PrimarySeries), labelCorner(labelCorner) {
    SetName(name);
}

void mpFXY::Draw(wxDC& dc, mpWindow& window) {
    dc.SetPen(pen);
    Rewind();
    if (!visible)
        return;
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    const AxisMap mapX{window.GetCentreX(), window.GetScaleX(), false};
    const AxisMap mapY{window.GetCentreY(), window.GetScaleY(), true};
    DrawShape(dc, window.Ink(), pen, continuous, mapX, mapY, W, H);

    if (continuous) {
        if (!auxiliaryLine)
            dc.DrawLine(55 - W / 2, 22 - H / 2, 75 - W / 2, 22 - H / 2);
        else if (!hideSample)
            dc.DrawLine(55 - W / 2, 10 - H / 2, 75 - W / 2, 10 - H / 2);
    }

    if (!name.empty()) {
        wxFont textFont(font);
        textFont.SetPointSize(11);
        dc.SetFont(textFont);
        wxCoord tw = 0, th = 0;
        dc.GetTextExtent(name, &tw, &th);
        switch (labelCorner & 3) {
            case 0:
                dc.DrawText(name, 10 - tw / 2, 6 - H / 2);
                break;
            case 1:
                dc.DrawText(name, 8 - W / 2, 6 - H / 2);
                break;
            case 2:
                dc.DrawText(name, 8 - W / 2, H / 2 - th - 6);
                break;
            default:
                dc.DrawText(name, W / 2 - tw - 8, H / 2 - th - 6);
                break;
        }
        if (!subtitleLabel.empty()) {
            textFont.SetPointSize(10);
            dc.SetFont(textFont);
            dc.GetTextExtent(subtitleLabel, &tw, &th);
            dc.DrawText(subtitleLabel, 10 - tw / 2, 20 - H / 2);
        }
        if (!footerLabel.empty()) {
            textFont.SetPointSize(8);
            dc.SetFont(textFont);
            dc.GetTextExtent(footerLabel, &tw, &th);
            dc.DrawText(footerLabel, 60 - W / 2, H / 2 - th);
        }
    }

    if (!auxiliaryLine && window.GetMeasureMode1()) {
        Rewind();
        const int d = window.GetLeftX() - W / 2;
        const double x = window.GetCentreX() + d / window.GetScaleX();
        double sx = 0, sy = 0, se = 0;
        if (FindNearest(x, sx, sy, se)) {
            const double row = (window.GetCentreY() - sy) * window.GetScaleY();
            const int py = PixelInt(row);
            DrawCrossHair(dc, W, H, d, row);
            markerValue1 = sy;
            markerValue2 = se;
            markerX = d;
            markerY = py;
            hasMarker = true;
            SendMeasure(window, this, plotmath::PrimaryMeasureText(sx, sy), 1);
        }
    }
    if (hasMarker)
        DrawMarker(dc, markerX, markerY);
}

// ---------------------------------------------------------------------------------------------
// Secondary series

mpFXYVext::mpFXYVext(const wxString& name, void* owner) : mpLayer(LayerKind::SecondarySeries), owner(owner) {
    SetName(name);
}

void mpFXYVext::Draw(wxDC& dc, mpWindow& window) {
    // Drawn whatever its visibility says; only the legend leaves an invisible one out.
    dc.SetPen(pen);
    Rewind();
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    const AxisMap mapX{window.GetCentreX(), window.GetScaleX(), false};
    const AxisMap mapY{window.GetCentreY2(), window.GetScaleY2(), true};
    DrawShape(dc, window.Ink(), pen, continuous, mapX, mapY, W, H);

    if (continuous)
        dc.DrawLine(55 - W / 2, 35 - H / 2, 75 - W / 2, 35 - H / 2);

    if (window.GetMeasureMode2()) {
        Rewind();
        const int d = window.GetLeftX() - W / 2;
        const double x = window.GetCentreX() + d / window.GetScaleX();
        double sx = 0, sy = 0, se = 0;
        if (FindNearest(x, sx, sy, se)) {
            const double row = (window.GetCentreY2() - sy) * window.GetScaleY2();
            const int py = PixelInt(row);
            DrawCrossHair(dc, W, H, d, row);
            markerValue1 = sy;
            markerX = d;
            markerY = py;
            hasMarker = true;
            SendMeasure(window, this, plotmath::SecondaryMeasureText(sy), 2);
        }
    }
    if (hasMarker)
        DrawMarker(dc, markerX, markerY);
}

// ---------------------------------------------------------------------------------------------
// Vector series

template <class Axis>
void mpVectorSeries<Axis>::SetData(const std::vector<float>& xs, const std::vector<float>& ys) {
    samples.Set(CopiedColumn(xs, false), CopiedColumn(ys));
}

template <class Axis>
void mpVectorSeries<Axis>::SetDataWithFloor(const std::vector<float>& xs, const std::vector<float>& ys,
                                            double floorY) {
    SetData(xs, ys);
    samples.SetFloor(floorY);
}

template <class Axis>
void mpVectorSeries<Axis>::SetDataWithExtra(const std::vector<float>& xs, const std::vector<float>& ys,
                                            const std::vector<float>& extras, double floorY) {
    samples.Set(CopiedColumn(xs, false), CopiedColumn(ys), CopiedColumn(extras, false));
    samples.SetFloor(floorY);
}

template <class Axis>
void mpVectorSeries<Axis>::ShareData(ColumnRef xs, ColumnRef ys) {
    samples.Set(std::move(xs), std::move(ys));
}

template <class Axis>
void mpVectorSeries<Axis>::ShareDataWithFloor(ColumnRef xs, ColumnRef ys, double floorY) {
    samples.Set(std::move(xs), std::move(ys));
    samples.SetFloor(floorY);
}

template <class Axis>
void mpVectorSeries<Axis>::ShareDataWithExtra(ColumnRef xs, ColumnRef ys, ColumnRef extras, double floorY) {
    samples.Set(std::move(xs), std::move(ys), std::move(extras));
    samples.SetFloor(floorY);
}

template class mpVectorSeries<mpFXY>;
template class mpVectorSeries<mpFXYVext>;

// ---------------------------------------------------------------------------------------------
// Info boxes

mpInfoLayer::mpInfoLayer() : mpLayer(LayerKind::InfoBox), brush(*wxTRANSPARENT_BRUSH) {
    box.x = box.y = 0;
    box.width = box.height = 1;
}

mpInfoLayer::mpInfoLayer(int x, int y, int width, int height, const wxBrush& brush)
    : mpLayer(LayerKind::InfoBox), brush(brush) {
    box.x = box.refX = x;
    box.y = box.refY = y;
    box.width = width;
    box.height = height;
}

bool mpInfoLayer::Contains(const wxPoint& point) const {
    return GetRect().Contains(point);
}

void mpInfoLayer::Move(int dx, int dy) {
    box.x = box.refX + dx;
    box.y = box.refY + dy;
}

void mpInfoLayer::UpdateReference() {
    box.refX = box.x;
    box.refY = box.y;
}

void mpInfoLayer::Place(mpWindow& window, Anchor anchor) {
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    plotmath::PointerState pointer;
    if (anchor != Anchor::None)
        pointer = window.LeftPointer();
    double ax = 0, ay = 0;
    dragged = plotmath::PlaceBox(box, pointer, W, H, ax, ay);
    if (anchor == Anchor::Legend)
        window.SetLegendAnchor(ax, ay);
    else if (anchor == Anchor::TextBox)
        window.SetTextBoxAnchor(ax, ay);
}

void mpInfoLayer::Draw(wxDC& dc, mpWindow& window) {
    if (!visible)
        return;
    Place(window, Anchor::None);
    dc.SetPen(pen);
    dc.SetBrush(brush);
    dc.DrawRectangle(box.x, box.y, box.width, box.height);
}

mpInfoLegend::mpInfoLegend() = default;

mpInfoLegend::mpInfoLegend(int x, int y, int width, int height, const wxBrush& brush)
    : mpInfoLayer(x, y, width, height, brush) {
    box.x = box.refX = 0;
    box.y = box.refY = 0;
}

void mpInfoLegend::Draw(wxDC& dc, mpWindow& window) {
    if (!visible)
        return;
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    if (!started && W > 0 && H > 0) {
        // The first draw on a shown window: right of the value axis, below the samples' captions.
        started = true;
        box.x = box.refX = 60 - W / 2;
        box.y = box.refY = 45 - H / 2;
    }
    Place(window, Anchor::Legend);
    dc.SetBrush(brush);
    dc.SetFont(font);

    const std::vector<Row> rows = Rows(window);
    std::vector<int> widths, heights;
    for (const Row& row : rows) {
        wxCoord w = 0, h = 0;
        dc.GetTextExtent(row.text, &w, &h);
        widths.push_back(w);
        heights.push_back(h);
    }
    plotmath::LegendSize(widths, heights, box.width, box.height);
    if (rows.empty())
        return;

    dc.SetPen(pen);
    dc.SetBrush(*wxLIGHT_GREY_BRUSH);
    dc.DrawRectangle(box.x, box.y, box.width, box.height);
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const int h = heights[n];
        const int top = box.y + static_cast<int>(n) * h;
        dc.SetPen(rows[n].series->GetPen());
        dc.DrawLine(box.x + 5, top + h / 2 + 5, box.x + 15, top + h / 2 + 5);
        dc.DrawText(rows[n].text, box.x + 20, top + 5);
    }
}

std::vector<mpInfoLegend::Row> mpInfoLegend::Rows(const mpWindow& window) {
    std::vector<Row> rows;
    for (const mpLayer* layer : window.Layers()) {
        const LayerKind k = layer->GetKind();
        if ((k != LayerKind::PrimarySeries && k != LayerKind::SecondarySeries) || !layer->IsVisible() ||
            !layer->HasMarker())
            continue;
        rows.push_back({layer->GetValuePrefix1() + plotmath::LegendValueText(layer->GetMarkerValue1()) +
                            layer->GetValueSuffix1(),
                        layer});
        if (layer->GetMarkerValue2() > 0)
            rows.push_back({layer->GetValuePrefix2() + plotmath::LegendValueText(layer->GetMarkerValue2()) +
                                layer->GetValueSuffix2(),
                            layer});
    }
    return rows;
}

mpInfoTextBox::mpInfoTextBox() = default;

mpInfoTextBox::mpInfoTextBox(int x, int y, int width, int height, const wxBrush& brush)
    : mpInfoLayer(x, y, width, height, brush) {
    box.x = box.refX = -50;
    box.y = box.refY = -50;
}

void mpInfoTextBox::SetTextBoxPosition(mpWindow& window, int x, int y) {
    if (placed && x == placedX && y == placedY)
        return;
    placed = true;
    placedX = x;
    placedY = y;
    const int halfW = window.GetPlotWidth() / 2, halfH = window.GetPlotHeight() / 2;
    box.x = std::clamp(x, -halfW, std::max(halfW, -halfW));
    box.y = std::clamp(y, -halfH, std::max(halfH, -halfH));
}

void mpInfoTextBox::Draw(wxDC& dc, mpWindow& window) {
    if (!visible)
        return;
    Place(window, Anchor::TextBox);
    dc.SetBrush(brush);
    dc.SetFont(font);

    std::vector<int> lineHeights;
    int width = 0, height = 0;
    plotmath::TextBoxSize(text, MeasureWith(dc), width, height, &lineHeights);
    box.width = width;
    if (height == 0)
        return;
    box.height = height;
    // The whole box in view: one that would reach past the right or bottom edge is moved in (its
    // left and top edges stay in view before all). The record's own place for it changes only
    // when the user drags it.
    const int W = window.GetPlotWidth(), H = window.GetPlotHeight();
    box.x = std::max(std::min(box.x, W - W / 2 - box.width - 1), -(W / 2));
    box.y = std::max(std::min(box.y, H - H / 2 - box.height - 1), -(H / 2));
    if (dragged) {
        // The user's place for it, which the record stores and the next load gives back.
        placed = true;
        placedX = box.x;
        placedY = box.y;
    }

    dc.SetPen(pen);
    dc.SetBrush(*wxLIGHT_GREY_BRUSH);
    dc.DrawRectangle(box.x, box.y, box.width, box.height);
    const std::vector<wxString> lines = plotmath::SplitLines(text);
    int above = 0;
    for (std::size_t i = 0; i < lines.size() && i < lineHeights.size(); ++i) {
        dc.DrawText(lines[i], box.x + 5, box.y + 5 + above);
        above += lineHeights[i];
    }

    wxCommandEvent event(zpmEVT_PLOT_TEXTBOX, wxID_ANY);
    event.SetEventObject(this);
    window.ProcessWindowEvent(event);
}
