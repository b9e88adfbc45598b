#pragma once

// The layers a plot window draws: data series on the primary and the secondary axis with their
// measuring cursor, the readout legend and the movable text box. The axes are layers too
// (scales.h). A layer draws itself on whatever device context the window hands it, the origin
// already at the chart centre; it never owns the window and the window never owns it.

#include "plot/plot_math.h"
#include "plot/sample_column.h"

#include <wx/brush.h>
#include <wx/event.h>
#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/object.h>
#include <wx/pen.h>
#include <wx/string.h>

#include <algorithm>
#include <memory>
#include <vector>

class wxDC;
class mpWindow;
class SeriesInk;

enum class LayerKind : int {
    Axis = 1,
    PrimarySeries = 2,
    SecondarySeries = 3,
    InfoBox = 4,
};

class mpLayer : public wxObject {
public:
    ~mpLayer() override = default;

    virtual bool HasBounds() const { return true; }
    virtual double MinX() const { return -1; }
    virtual double MaxX() const { return 1; }
    virtual double MinY() const { return -1; }
    virtual double MaxY() const { return 1; }
    virtual void Draw(wxDC& dc, mpWindow& window) = 0;

    void SetName(const wxString& text) { name = text; }
    const wxString& GetName() const { return name; }
    void SetSubtitleLabel(const wxString& text) { subtitleLabel = text; }
    const wxString& GetSubtitleLabel() const { return subtitleLabel; }
    void SetFooterLabel(const wxString& text) { footerLabel = text; }
    const wxString& GetFooterLabel() const { return footerLabel; }
    void SetValuePrefix1(const wxString& text) { valuePrefix1 = text; }
    const wxString& GetValuePrefix1() const { return valuePrefix1; }
    void SetValueSuffix1(const wxString& text) { valueSuffix1 = text; }
    const wxString& GetValueSuffix1() const { return valueSuffix1; }
    void SetValuePrefix2(const wxString& text) { valuePrefix2 = text; }
    const wxString& GetValuePrefix2() const { return valuePrefix2; }
    void SetValueSuffix2(const wxString& text) { valueSuffix2 = text; }
    const wxString& GetValueSuffix2() const { return valueSuffix2; }

    void SetPen(const wxPen& p) { pen = p; }
    const wxPen& GetPen() const { return pen; }
    void SetFont(const wxFont& f) { font = f; }
    const wxFont& GetFont() const { return font; }
    void SetContinuity(bool on) { continuous = on; }
    bool GetContinuity() const { return continuous; }
    void SetVisible(bool on) { visible = on; }
    bool IsVisible() const { return visible; }

    LayerKind GetKind() const { return kind; }

    // Measuring marker of a series: set by a measuring click, cleared by the chart on a record
    // change.
    bool HasMarker() const { return hasMarker; }
    void ClearMarker() { hasMarker = false; }
    double GetMarkerValue1() const { return markerValue1; }
    double GetMarkerValue2() const { return markerValue2; }

protected:
    explicit mpLayer(LayerKind kind);

    wxString valuePrefix2, valueSuffix2;
    wxString valuePrefix1, valueSuffix1;
    bool hasMarker = false;
    double markerValue1 = 0;
    double markerValue2 = 0;
    wxFont font;
    wxPen pen;
    wxString name;
    wxString subtitleLabel;
    wxString footerLabel;
    bool continuous = false;
    LayerKind kind;
    bool visible = true;
};

// The samples of a vector series: columns of x, y and the readout's extra value, shared with
// whatever else reads them (sample_column.h).
class SeriesSamples {
public:
    void Set(ColumnRef xs, ColumnRef ys, ColumnRef extras = nullptr);
    // The extent reaches at least floorY + 0.5 upwards.
    void SetFloor(double floorY) { extent.maxY = std::max(extent.maxY, floorY + 0.5); }

    // Samples with both x and y (never more than the vectors hold now).
    std::size_t Count() const;
    bool At(int index, double& x, double& y, double& extra) const;
    bool Next(double& x, double& y);
    void Rewind() { cursor = 0; }
    bool FindNearest(double x, double& outX, double& outY, double& outExtra);

    void Segments(const plotmath::AxisMap& mapX, const plotmath::AxisMap& mapY, int W, int H, int penWidth,
                  bool mergeColumns, std::vector<plotmath::Segment>& out) const;
    void Dots(const plotmath::AxisMap& mapX, const plotmath::AxisMap& mapY, int W, int H, int penWidth,
              plotmath::DotCounts& out) const;

    plotmath::Extent extent;

private:
    ColumnRef xs = CopiedColumn({}), ys = CopiedColumn({}), extras;
    unsigned int cursor = 0;
};

// Shared by the primary and the secondary series: how a series' lines or dots are produced.
class mpSeriesShape {
public:
    virtual ~mpSeriesShape() = default;
    virtual void Rewind() = 0;
    virtual bool NextPoint(double& x, double& y) = 0;
    virtual bool FindNearest(double x, double& outX, double& outY, double& outExtra) = 0;

    // The raster way (the default) where the picture is drawn at whole pixels, or the vector way
    // everywhere; both draw the same picture to within a pixel. Tests and the benchmark compare.
    void SetRasterDrawing(bool on) { raster = on; }

protected:
    // The lines of a continuous series and the dots of a point series for the current view.
    virtual void CollectSegments(const plotmath::AxisMap& mapX, const plotmath::AxisMap& mapY, int W, int H,
                                 int penWidth, bool mergeColumns, std::vector<plotmath::Segment>& out) = 0;
    virtual void CollectDots(const plotmath::AxisMap& mapX, const plotmath::AxisMap& mapY, int W, int H,
                             int penWidth, plotmath::DotCounts& out) = 0;

    void DrawShape(wxDC& dc, SeriesInk& ink, const wxPen& pen, bool continuous, const plotmath::AxisMap& mapX,
                   const plotmath::AxisMap& mapY, int W, int H);

    int markerX = 0, markerY = 0;
    bool raster = true;
};

// A series on the primary axis.
class mpFXY : public mpLayer, public mpSeriesShape {
public:
    explicit mpFXY(const wxString& name = wxString(), int labelCorner = 0);

    void Draw(wxDC& dc, mpWindow& window) override;

    // A reference line: never measured, its legend sample in row 1.
    void SetAuxiliaryLine(bool on) { auxiliaryLine = on; }
    bool GetAuxiliaryLine() const { return auxiliaryLine; }
    // With the reference line: no legend sample.
    void SetHideSample(bool on) { hideSample = on; }
    bool GetHideSample() const { return hideSample; }
    int GetLabelCorner() const { return labelCorner; }

protected:
    bool auxiliaryLine = false;
    bool hideSample = true;
    int labelCorner = 0;
};

// A series on the secondary (right-hand) axis.
class mpFXYVext : public mpLayer, public mpSeriesShape {
public:
    explicit mpFXYVext(const wxString& name = wxString(), void* owner = nullptr);

    void Draw(wxDC& dc, mpWindow& window) override;

private:
    void* owner;  // kept for whoever made the series; never read here
};

// A series of float vectors on the axis of its base: mpFXY (primary) or mpFXYVext (secondary).
template <class Axis>
class mpVectorSeries : public Axis {
public:
    using Axis::Axis;

    // Copies of the caller's vectors.
    void SetData(const std::vector<float>& xs, const std::vector<float>& ys);
    void SetDataWithFloor(const std::vector<float>& xs, const std::vector<float>& ys, double floorY);
    void SetDataWithExtra(const std::vector<float>& xs, const std::vector<float>& ys,
                          const std::vector<float>& extras, double floorY);
    // Columns shared with other series (a record's, sample_column.h).
    void ShareData(ColumnRef xs, ColumnRef ys);
    void ShareDataWithFloor(ColumnRef xs, ColumnRef ys, double floorY);
    void ShareDataWithExtra(ColumnRef xs, ColumnRef ys, ColumnRef extras, double floorY);

    void Rewind() override { samples.Rewind(); }
    bool NextPoint(double& x, double& y) override { return samples.Next(x, y); }
    bool PointAt(int index, double& x, double& y, double& extra) const {
        return samples.At(index, x, y, extra);
    }
    int PointCount() const { return static_cast<int>(samples.Count()); }
    bool FindNearest(double x, double& outX, double& outY, double& outExtra) override {
        return samples.FindNearest(x, outX, outY, outExtra);
    }

    double MinX() const override { return samples.extent.minX; }
    double MaxX() const override { return samples.extent.maxX; }
    double MinY() const override { return samples.extent.minY; }
    double MaxY() const override { return samples.extent.maxY; }

protected:
    void CollectSegments(const plotmath::AxisMap& mapX, const plotmath::AxisMap& mapY, int W, int H,
                         int penWidth, bool mergeColumns, std::vector<plotmath::Segment>& out) override {
        samples.Segments(mapX, mapY, W, H, penWidth, mergeColumns, out);
    }
    void CollectDots(const plotmath::AxisMap& mapX, const plotmath::AxisMap& mapY, int W, int H, int penWidth,
                     plotmath::DotCounts& out) override {
        samples.Dots(mapX, mapY, W, H, penWidth, out);
    }

private:
    SeriesSamples samples;
};

// Vector series on the primary axis.
class mpFXYVector : public mpVectorSeries<mpFXY> {
public:
    using mpVectorSeries::mpVectorSeries;
};

// Vector series on the secondary axis.
class mpFXYVectorVext : public mpVectorSeries<mpFXYVext> {
public:
    using mpVectorSeries::mpVectorSeries;
};

// A box in pixels relative to the chart centre; the legend and the text box move themselves with
// a left drag that starts on them and keep their relative place when the window is resized.
class mpInfoLayer : public mpLayer {
public:
    mpInfoLayer();
    mpInfoLayer(int x, int y, int width, int height, const wxBrush& brush);

    bool HasBounds() const override { return false; }
    void Draw(wxDC& dc, mpWindow& window) override;

    virtual void UpdateInfo(mpWindow& window, wxEvent& event) {}
    virtual bool IsInfo() const { return true; }
    virtual bool Contains(const wxPoint& point) const;
    // Position = reference + (dx, dy).
    virtual void Move(int dx, int dy);
    // Reference = position.
    virtual void UpdateReference();

    wxRect GetRect() const { return wxRect(box.x, box.y, box.width, box.height); }
    // True when the user dragged the box on its last draw (a resize or a clamp moves it too, but
    // that is no placement of the user's).
    bool WasDragged() const { return dragged; }
    wxPoint GetReference() const { return wxPoint(box.refX, box.refY); }
    const wxBrush& GetBrush() const { return brush; }

protected:
    enum class Anchor { None, Legend, TextBox };
    // Drag step, anchor and resize step before drawing.
    void Place(mpWindow& window, Anchor anchor);

    plotmath::BoxState box;
    wxBrush brush;
    bool dragged = false;
};

// The readouts of the measured series, one or two rows each. Drawn first, it puts itself in the
// top left corner below the legend captions, apart from the text box (whose place a record keeps,
// the centre unless moved).
class mpInfoLegend : public mpInfoLayer {
public:
    mpInfoLegend();
    mpInfoLegend(int x, int y, int width, int height, const wxBrush& brush);

    void Draw(wxDC& dc, mpWindow& window) override;

    // The readout rows of the window's measured series, in layer order, with the series each row
    // belongs to: prefix, value, suffix of the first value, and of the second when it is above 0.
    struct Row {
        wxString text;
        const mpLayer* series;
    };
    static std::vector<Row> Rows(const mpWindow& window);

private:
    bool started = false;
};

// A note of the record, possibly several lines; reports its position at every draw.
class mpInfoTextBox : public mpInfoLayer {
public:
    mpInfoTextBox();
    mpInfoTextBox(int x, int y, int width, int height, const wxBrush& brush);

    void Draw(wxDC& dc, mpWindow& window) override;

    void SetText(const wxString& t) { text = t; }
    const wxString& GetText() const { return text; }
    // Position clamped to the window: -W/2 ... W/2, -H/2 ... H/2. The place given last (or
    // dragged to) given again leaves the box where it is: resizes since have moved it with the
    // window, and a chart loaded again (a live tick, an edit) keeps that.
    void SetTextBoxPosition(mpWindow& window, int x, int y);

private:
    wxString text;
    bool placed = false;
    int placedX = 0, placedY = 0;
};
