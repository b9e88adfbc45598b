#pragma once

// The chart canvas: a view (data to pixels), an ordered set of layers it paints double-buffered,
// mouse gestures and a four-entry popup menu for zoom, pan, centring and fit, and the pointer
// positions the measuring cursors and the movable boxes read while they draw.

#include "plot/box_layout.h"

#include <wx/bitmap.h>
#include <wx/datetime.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/scrolwin.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

class mpLayer;
class SeriesInk;

class mpWindow : public wxScrolledWindow {
public:
    mpWindow(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style);
    ~mpWindow() override;

    // Layers (not owned). A layer is attached under the key that follows the highest key in use
    // (0 for the first), so after detaching everything the keys start again at 0.
    bool AttachLayer(mpLayer* layer);
    bool DetachLayer(int key);
    mpLayer* LayerAt(int key) const;
    int LayerCount() const { return static_cast<int>(layers.size()); }
    // The attached layers in ascending key order (the order they draw in).
    std::vector<mpLayer*> Layers() const;
    bool HasSecondarySeries() const;

    void RefreshView();
    // Fits the data into the window and keeps it fitted: while nothing else changed the view, a
    // resize fits again. Any zoom, pan, scroll or view set from outside ends that.
    void Fit() override;
    bool IsFitted() const { return fitted; }
    void ZoomIn();
    void ZoomOut();
    void SetAspectLock(bool on);
    bool GetAspectLock() const { return lockAspect; }
    void SetMeasureMode1(bool on);
    void SetMeasureMode2(bool on);
    bool GetMeasureMode1() const { return measureMode1; }
    bool GetMeasureMode2() const { return measureMode2; }
    // Span mode: a left drag across the chart (not starting on a box, which a drag moves as
    // always) chooses a span of time; a click outside it removes it, and so does leaving the mode.
    // Each change is told by zpmEVT_PLOT_SPAN (plot_events.h), sent from the mouse handler.
    void SetSpanMode(bool on);
    bool GetSpanMode() const { return spanMode; }
    bool HasSpan() const { return hasSpan; }
    // The span's ends in data x, from <= to.
    double GetSpanFrom() const { return std::min(spanFrom, spanTo); }
    double GetSpanTo() const { return std::max(spanFrom, spanTo); }
    // Sets the span (or removes it) as a drag would, and tells so.
    void SetSpan(double from, double to);
    void ClearSpan();

    // The whole chart on a device context whose origin the caller has put at the chart centre
    // (printing): background, then every layer in key order, at the window's plot size.
    void DrawLayersOn(wxDC& dc);
    // A bitmap of the client area showing what the window shows.
    wxBitmap SnapshotBitmap();
    // What the series keep between paints to draw quickly (series_ink.h).
    SeriesInk& Ink() { return *ink; }

    double GetScaleX() const { return scaleX; }
    void SetScaleX(double v) {
        scaleX = v;
        fitted = false;
    }
    double GetScaleY() const { return scaleY; }
    void SetScaleY(double v) {
        scaleY = v;
        fitted = false;
    }
    double GetScaleY2() const { return scaleY2; }
    void SetScaleY2(double v) {
        scaleY2 = v;
        fitted = false;
    }
    double GetCentreX() const { return centreX; }
    void SetCentreX(double v) {
        centreX = v;
        fitted = false;
    }
    double GetCentreY() const { return centreY; }
    void SetCentreY(double v) {
        centreY = v;
        fitted = false;
    }
    double GetCentreY2() const { return centreY2; }
    void SetCentreY2(double v) {
        centreY2 = v;
        fitted = false;
    }

    double GetBoundMinX() const { return boundMinX; }
    double GetBoundMaxX() const { return boundMaxX; }
    double GetBoundMinY() const { return boundMinY; }
    double GetBoundMaxY() const { return boundMaxY; }
    double GetBoundMinY2() const { return boundMinY2; }
    double GetBoundMaxY2() const { return boundMaxY2; }

    int GetPlotWidth() const { return plotWidth; }
    int GetPlotHeight() const { return plotHeight; }
    int GetBottomMargin() const { return bottomMargin; }
    void SetBottomMargin(int margin) { bottomMargin = margin; }
    bool GetDateLabels() const { return dateLabels; }
    void SetDateLabels(bool on) { dateLabels = on; }
    const wxDateTime& GetStartTime() const { return startTime; }
    void SetStartTime(const wxDateTime& t) { startTime = t; }

    int GetLeftX() const { return leftX; }
    int GetLeftY() const { return leftY; }
    int GetLeftDragDX() const { return leftDragDX; }
    int GetLeftDragDY() const { return leftDragDY; }
    // The last left press or drag step, for a box that the pointer drags.
    plotmath::PointerState LeftPointer() const { return {leftX, leftY, leftDragDX, leftDragDY}; }
    double GetTextBoxAnchorX() const { return textBoxAnchorX; }
    double GetTextBoxAnchorY() const { return textBoxAnchorY; }
    void SetTextBoxAnchor(double x, double y) {
        textBoxAnchorX = x;
        textBoxAnchorY = y;
    }
    double GetLegendAnchorX() const { return legendAnchorX; }
    double GetLegendAnchorY() const { return legendAnchorY; }
    void SetLegendAnchor(double x, double y) {
        legendAnchorX = x;
        legendAnchorY = y;
    }

    wxMenu* GetPopupMenu() { return &popupMenu; }
    // Number of times the popup menu was asked for, and where (tests).
    int GetPopupCount() const { return popupCount; }
    int GetMenuClickX() const { return menuClickX; }
    int GetMenuClickY() const { return menuClickY; }
    // Number of completed paints (tests and benchmarks wait for one).
    long GetPaintCount() const { return paintCount; }

protected:
    // Shows the popup menu at (x, y); blocks until it is closed. Tests override it.
    virtual void ShowPopup(int x, int y);

private:
    // Extent of the attached layers; false when none has bounds.
    bool UpdateExtent();
    // The client area as it is without scrollbars (a fit makes them go).
    wxSize UnscrolledClientSize() const;
    void PaintBuffer(int width, int height);
    void CentreOnMenuClick();

    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnRightDown(wxMouseEvent& event);
    void OnRightUp(wxMouseEvent& event);
    void OnMiddleUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMouseWheel(wxMouseEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void OnFitCommand(wxCommandEvent& event);
    void OnZoomInCommand(wxCommandEvent& event);
    void OnZoomOutCommand(wxCommandEvent& event);
    void OnCentreCommand(wxCommandEvent& event);
    void OnLockAspectCommand(wxCommandEvent& event);
    void OnHelpCommand(wxCommandEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnFocusChange(wxFocusEvent& event);
    // Keys: a tenth of the view, in pixels, along x or y.
    void PanBy(int dx, int dy);
    // Whether a press at (x, y) in window pixels lands on a box that is drawn.
    bool OnInfoBox(int x, int y) const;
    void SendSpanEvent();

    std::map<int, mpLayer*> layers;
    wxMenu popupMenu;
    double boundMinX = 0, boundMaxX = 0, boundMinY = 0, boundMaxY = 0;
    double boundMinY2 = 0, boundMaxY2 = 0;
    double scaleX = 1.0, scaleY = 1.0, scaleY2 = 1.0;
    double scrollUnitX = 1.0, scrollUnitY = 1.0;  // pixels a scroll unit holds
    double centreX = 150.0, centreY = 100.0, centreY2 = 0;
    int plotWidth = 64, plotHeight = 0;
    int bottomMargin = 30;
    bool dateLabels = false;
    wxDateTime startTime;
    bool lockAspect = false;
    bool fitted = false;
    bool measureMode1 = false, measureMode2 = false;
    bool spanMode = false, hasSpan = false;
    double spanFrom = 0, spanTo = 0;
    // A left press in span mode: none, pressed (no movement yet) or dragging a span.
    enum class SpanGesture { None, Pressed, Dragging } spanGesture = SpanGesture::None;
    int spanPressX = 0;
    wxBitmap buffer;
    std::unique_ptr<wxMemoryDC> bufferDC;
    std::unique_ptr<SeriesInk> ink;
    int bufferWidth = 0, bufferHeight = 0;
    bool rightDragged = false;
    int rightDragX = 0, rightDragY = 0;
    int menuClickX = 0, menuClickY = 0;
    int leftX = 0, leftY = 0;
    int leftDragDX = 0, leftDragDY = 0;
    double textBoxAnchorX = 0, textBoxAnchorY = 0;
    double legendAnchorX = 0, legendAnchorY = 0;
    int popupCount = 0;
    long paintCount = 0;
    bool painting = false;

    wxDECLARE_EVENT_TABLE();
};
