#include "plot/plot_window.h"
#include "data/translate.h"

#include "app/command_ids.h"
#include "plot/layers.h"
#include "plot/plot_events.h"
#include "plot/plot_math.h"
#include "plot/series_ink.h"
#include "plot/span_layer.h"

#include <wx/dcclient.h>
#include <wx/msgdlg.h>

#include <gtk/gtk.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// Scrollbar figures are ints; a deep zoom must not overflow them.
int ScrollInt(double v) {
    if (!(v == v))
        return 0;
    return static_cast<int>(
        std::clamp(v, static_cast<double>(INT_MIN / 2), static_cast<double>(INT_MAX / 2)));
}

// A record zoomed in far is wider than an int counts pixels: its bar then counts in units of
// several pixels, as few as keep the extent in range.
double PixelsPerScrollUnit(double pixels) {
    constexpr double limit = INT_MAX / 4;
    return pixels > limit ? std::ceil(pixels / limit) : 1.0;
}

// Units of a bar over `pixels` of data seen through `client` pixels. The toolkit takes the
// window's size in pixels as the thumb's length in units, so a bar of units larger than a pixel
// gets what the thumb is longer than the window's width in units: its end still shows the end of
// the data.
int ScrollRange(double pixels, double unit, int client) {
    return ScrollInt(pixels / unit + client - client / unit);
}

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(mpWindow, wxScrolledWindow)
    EVT_PAINT(mpWindow::OnPaint)
    EVT_SIZE(mpWindow::OnSize)
    EVT_RIGHT_DOWN(mpWindow::OnRightDown)
    EVT_RIGHT_UP(mpWindow::OnRightUp)
    EVT_MIDDLE_UP(mpWindow::OnMiddleUp)
    EVT_MOTION(mpWindow::OnMotion)
    EVT_LEFT_DOWN(mpWindow::OnLeftDown)
    EVT_LEFT_UP(mpWindow::OnLeftUp)
    EVT_MOUSEWHEEL(mpWindow::OnMouseWheel)
    EVT_SCROLLWIN(mpWindow::OnScroll)
    EVT_MENU(ID_PLOT_FIT, mpWindow::OnFitCommand)
    EVT_MENU(ID_PLOT_ZOOM_IN, mpWindow::OnZoomInCommand)
    EVT_MENU(ID_PLOT_ZOOM_OUT, mpWindow::OnZoomOutCommand)
    EVT_MENU(ID_PLOT_CENTRE, mpWindow::OnCentreCommand)
    EVT_MENU(ID_PLOT_LOCK_ASPECT, mpWindow::OnLockAspectCommand)
    EVT_MENU(ID_PLOT_HELP, mpWindow::OnHelpCommand)
    EVT_KEY_DOWN(mpWindow::OnKeyDown)
    EVT_CHAR(mpWindow::OnChar)
    EVT_SET_FOCUS(mpWindow::OnFocusChange)
    EVT_KILL_FOCUS(mpWindow::OnFocusChange)
wxEND_EVENT_TABLE()
    // clang-format on

    mpWindow::mpWindow(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    // Scrollbars of its own: zoomed in, they show where the view lies in the data and pan it.
    // Keys of its own (arrows, Home, Escape): the chart is worked by keyboard when it has the focus.
    : wxScrolledWindow(parent, id, pos, size, style | wxHSCROLL | wxVSCROLL | wxWANTS_CHARS,
                       wxString::FromUTF8("mathplot")),
      ink(std::make_unique<SeriesInk>()) {
    SetBackgroundColour(*wxWHITE);
    // Every pixel is painted from the buffer; the system never erases.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(wxSize(64, 64));
    SetScrollRate(0, 0);
    // Bars that stay while the view shows part of the data, not overlays that fade when the
    // pointer rests: they tell where in the recording the view is.
    if (GtkWidget* widget = static_cast<GtkWidget*>(GetHandle()); widget && GTK_IS_SCROLLED_WINDOW(widget))
        gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(widget), FALSE);

    popupMenu.Append(ID_PLOT_CENTRE, Tr("Zentrieren"), Tr("Diagramm zu dieser Position zentrieren"));
    popupMenu.Append(ID_PLOT_FIT, Tr("Passend "), Tr("Alles anzeigen"));
    popupMenu.Append(ID_PLOT_ZOOM_IN, Tr("Vergrößern"), Tr("Diagramm vergrößern"));
    popupMenu.Append(ID_PLOT_ZOOM_OUT, Tr("Verkleinern"), Tr("Diagramm verkleinern"));

    RefreshView();
}

mpWindow::~mpWindow() {
    // The layers belong to whoever attached them.
    layers.clear();
    if (bufferDC)
        bufferDC->SelectObject(wxNullBitmap);
}

// ---------------------------------------------------------------------------------------------
// Layers

bool mpWindow::AttachLayer(mpLayer* layer) {
    if (!layer)
        return false;
    // The next key after the highest one: the number of layers while the keys are consecutive,
    // and never a key in use (that layer would silently drop out of the chart).
    const int key = layers.empty() ? 0 : layers.rbegin()->first + 1;
    layers[key] = layer;
    RefreshView();
    return true;
}

bool mpWindow::DetachLayer(int key) {
    layers.erase(key);
    RefreshView();
    return true;
}

mpLayer* mpWindow::LayerAt(int key) const {
    if (key < 0)
        return nullptr;
    const auto it = layers.find(key);
    return it == layers.end() ? nullptr : it->second;
}

std::vector<mpLayer*> mpWindow::Layers() const {
    std::vector<mpLayer*> ordered;
    ordered.reserve(layers.size());
    for (const auto& [key, layer] : layers)
        ordered.push_back(layer);
    return ordered;
}

bool mpWindow::HasSecondarySeries() const {
    return std::any_of(layers.begin(), layers.end(), [](const auto& entry) {
        return entry.second->GetKind() == LayerKind::SecondarySeries;
    });
}

// ---------------------------------------------------------------------------------------------
// View

bool mpWindow::UpdateExtent() {
    bool first = true;
    for (const auto& [key, layer] : layers) {
        if (!layer->HasBounds())
            continue;
        if (first) {
            boundMinX = layer->MinX();
            boundMaxX = layer->MaxX();
            boundMinY = layer->MinY();
            boundMaxY = layer->MaxY();
            first = false;
        } else {
            boundMinY2 = layer->MinY();
            boundMaxY2 = layer->MaxY();
        }
    }
    return !first;
}

void mpWindow::RefreshView() {
    // One scroll unit a pixel over the data's extent (several when that is too wide for the
    // toolkit's numbers): the toolkit shows a bar only while the data is wider (or higher) than
    // the window, so they come with zooming in and go with a fit.
    const wxSize client = GetClientSize();
    if (UpdateExtent()) {
        const double width = (boundMaxX - boundMinX) * scaleX, height = (boundMaxY - boundMinY) * scaleY;
        scrollUnitX = PixelsPerScrollUnit(width);
        scrollUnitY = PixelsPerScrollUnit(height);
        SetScrollbars(1, 1, ScrollRange(width, scrollUnitX, client.x),
                      ScrollRange(height, scrollUnitY, client.y),
                      ScrollInt(((centreX - boundMinX) * scaleX - client.x / 2) / scrollUnitX),
                      ScrollInt(((boundMaxY - centreY) * scaleY - client.y / 2) / scrollUnitY), true);
    } else {
        // Nothing to scroll through.
        SetScrollbars(1, 1, 0, 0, 0, 0, true);
    }
    // No FitInside(): with this toolkit it sets the scroll area back to the window's size, and
    // the bars set just now would vanish.
    Refresh(false);
}

wxSize mpWindow::UnscrolledClientSize() const {
    // The toolkit takes a bar's room from the client area while the bar's range exceeds its page.
    wxSize size = GetClientSize();
    if (GtkWidget* widget = static_cast<GtkWidget*>(GetHandle()); widget && GTK_IS_SCROLLED_WINDOW(widget)) {
        GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(widget);
        const auto room = [](GtkWidget* bar, bool horizontal) {
            if (!bar || !GTK_IS_RANGE(bar))
                return 0;
            GtkAdjustment* adjustment = gtk_range_get_adjustment(GTK_RANGE(bar));
            if (gtk_adjustment_get_upper(adjustment) <= gtk_adjustment_get_page_size(adjustment))
                return 0;
            GtkRequisition natural;
            gtk_widget_get_preferred_size(bar, nullptr, &natural);
            return horizontal ? natural.height : natural.width;
        };
        size.x += room(gtk_scrolled_window_get_vscrollbar(scrolled), false);
        size.y += room(gtk_scrolled_window_get_hscrollbar(scrolled), true);
    }
    return size;
}

void mpWindow::Fit() {
    fitted = true;
    if (!UpdateExtent())
        return;
    // The fitted data needs no scrollbars: its margins are those of the window they leave.
    const wxSize client = UnscrolledClientSize();
    plotmath::View view{scaleX, scaleY, scaleY2, centreX, centreY, centreY2};
    const plotmath::Extent primary{boundMinX, boundMaxX, boundMinY, boundMaxY};
    view = plotmath::FitView(view, primary, boundMinY2, boundMaxY2, client.x, client.y, bottomMargin,
                             lockAspect);
    scaleX = view.scaleX;
    scaleY = view.scaleY;
    scaleY2 = view.scaleY2;
    centreX = view.centreX;
    centreY = view.centreY;
    centreY2 = view.centreY2;
    RefreshView();
}

void mpWindow::ZoomIn() {
    fitted = false;
    scaleX *= 1.1;
    scaleY *= 1.1;
    RefreshView();
}

void mpWindow::ZoomOut() {
    fitted = false;
    scaleX /= 1.1;
    scaleY /= 1.1;
    RefreshView();
}

void mpWindow::SetAspectLock(bool on) {
    lockAspect = on;
    // The lock has no entry in the popup menu; mark it where there is one.
    if (popupMenu.FindItem(ID_PLOT_LOCK_ASPECT))
        popupMenu.Check(ID_PLOT_LOCK_ASPECT, on);
    if (on) {
        scaleX = scaleY = (scaleX + scaleY) * 0.5;
        fitted = false;
    }
    RefreshView();
}

void mpWindow::SetMeasureMode1(bool on) {
    measureMode1 = on;
    SetCursor(on ? wxCursor(wxCURSOR_CROSS) : *wxSTANDARD_CURSOR);
}

void mpWindow::SetMeasureMode2(bool on) {
    measureMode2 = on;
    SetCursor(on ? wxCursor(wxCURSOR_CROSS) : *wxSTANDARD_CURSOR);
}

void mpWindow::SetSpanMode(bool on) {
    spanMode = on;
    spanGesture = SpanGesture::None;
    SetCursor(on ? wxCursor(wxCURSOR_SIZEWE) : *wxSTANDARD_CURSOR);
    if (!on)
        ClearSpan();
}

void mpWindow::SetSpan(double from, double to) {
    spanFrom = from;
    spanTo = to;
    hasSpan = true;
    SendSpanEvent();
    Refresh(false);
}

void mpWindow::ClearSpan() {
    if (!hasSpan)
        return;
    hasSpan = false;
    SendSpanEvent();
    Refresh(false);
}

void mpWindow::SendSpanEvent() {
    wxCommandEvent event(zpmEVT_PLOT_SPAN, GetId());
    event.SetEventObject(this);
    event.SetInt(hasSpan ? 1 : 0);
    ProcessWindowEvent(event);
}

bool mpWindow::OnInfoBox(int x, int y) const {
    const wxPoint point(x - plotWidth / 2, y - plotHeight / 2);
    for (const auto& [key, layer] : layers) {
        const auto* box = dynamic_cast<const mpInfoLayer*>(layer);
        if (!box || !box->IsVisible() || !box->Contains(point))
            continue;
        // Boxes that draw nothing now are not there to be moved.
        if (const auto* note = dynamic_cast<const mpInfoTextBox*>(box); note && note->GetText().empty())
            continue;
        if (const auto* readout = dynamic_cast<const mpSpanReadout*>(box);
            readout && readout->GetText().empty())
            continue;
        if (dynamic_cast<const mpInfoLegend*>(box) && mpInfoLegend::Rows(*this).empty())
            continue;
        return true;
    }
    return false;
}

void mpWindow::CentreOnMenuClick() {
    fitted = false;
    const wxSize client = GetClientSize();
    centreX += (menuClickX - client.x / 2) / scaleX;
    centreY += (client.y / 2 - menuClickY) / scaleY;
}

// ---------------------------------------------------------------------------------------------
// Painting

void mpWindow::DrawLayersOn(wxDC& dc) {
    // The origin is at the chart centre: the chart's background spans both sides of it.
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(GetBackgroundColour(), wxBRUSHSTYLE_SOLID));
    dc.DrawRectangle(-(plotWidth / 2), -(plotHeight / 2), plotWidth, plotHeight);
    for (const auto& [key, layer] : layers)
        layer->Draw(dc, *this);
}

void mpWindow::PaintBuffer(int width, int height) {
    plotWidth = width;
    plotHeight = height;
    if (width <= 0 || height <= 0)
        return;
    if (!bufferDC || width != bufferWidth || height != bufferHeight) {
        if (bufferDC)
            bufferDC->SelectObject(wxNullBitmap);
        buffer = wxBitmap(width, height);
        bufferDC = std::make_unique<wxMemoryDC>(buffer);
        bufferWidth = width;
        bufferHeight = height;
    }
    wxDC& dc = *bufferDC;
    dc.SetDeviceOrigin(0, 0);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(GetBackgroundColour(), wxBRUSHSTYLE_SOLID));
    dc.DrawRectangle(0, 0, width, height);
    // Every paint starts from the same drawing state: the buffer's DC keeps what the last
    // paint's layers left in it.
    dc.SetTextForeground(*wxBLACK);
    dc.SetDeviceOrigin(width >> 1, height >> 1);
    // Layers may send events whose handlers change the layer set; draw from a copy of the order.
    for (mpLayer* layer : Layers())
        layer->Draw(dc, *this);
    dc.SetDeviceOrigin(0, 0);
}

void mpWindow::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    // A handler of a layer's event that forces a repaint must not draw into the buffer that is
    // being drawn.
    if (painting)
        return;
    painting = true;
    int width = 0, height = 0;
    dc.GetSize(&width, &height);
    PaintBuffer(width, height);
    if (bufferDC && width > 0 && height > 0)
        dc.Blit(0, 0, width, height, bufferDC.get(), 0, 0, wxCOPY, false);
    // A dotted frame along the edges while the keys work the chart; on screen only, never in a
    // snapshot, an export or a printout.
    if (HasFocus() && width > 4 && height > 4) {
        dc.SetPen(wxPen(wxColour(64, 64, 64), 1, wxPENSTYLE_DOT));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(1, 1, width - 2, height - 2);
    }
    // A drag step moves a box on one paint only.
    leftDragDX = 0;
    leftDragDY = 0;
    ++paintCount;
    painting = false;
}

wxBitmap mpWindow::SnapshotBitmap() {
    const wxSize client = GetClientSize();
    if (client.x <= 0 || client.y <= 0 || painting)
        return wxBitmap();
    // Drawn afresh from the layers, exactly as the next paint shows it (reading the screen back
    // gives nothing useful on every display).
    painting = true;
    PaintBuffer(client.x, client.y);
    leftDragDX = 0;
    leftDragDY = 0;
    painting = false;
    wxBitmap copy(client.x, client.y);
    {
        wxMemoryDC target(copy);
        target.Blit(0, 0, client.x, client.y, bufferDC.get(), 0, 0, wxCOPY, false);
    }
    Refresh(false);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Mouse, wheel and scrollbars

void mpWindow::ShowPopup(int x, int y) {
    PopupMenu(&popupMenu, x, y);
}

void mpWindow::OnSize(wxSizeEvent& event) {
    // A fitted view fits the new size (a maximized window shows the record filling it); a view
    // the user chose keeps its scale and centre.
    if (fitted)
        Fit();
    else
        RefreshView();
    event.Skip();
}

void mpWindow::OnRightDown(wxMouseEvent& event) {
    rightDragged = false;
    rightDragX = event.GetX();
    rightDragY = event.GetY();
    SetCursor(wxCursor(wxCURSOR_SIZING));
}

void mpWindow::OnRightUp(wxMouseEvent& event) {
    SetCursor(*wxSTANDARD_CURSOR);
    if (!rightDragged) {
        menuClickX = event.GetX();
        menuClickY = event.GetY();
        ++popupCount;
        ShowPopup(menuClickX, menuClickY);
    }
}

void mpWindow::OnMiddleUp(wxMouseEvent& event) {
    OnRightUp(event);
}

void mpWindow::OnMotion(wxMouseEvent& event) {
    const int x = event.GetX(), y = event.GetY();
    if (event.RightIsDown()) {
        rightDragged = true;
        const int dx = rightDragX - x, dy = y - rightDragY;
        rightDragX = x;
        rightDragY = y;
        fitted = false;
        centreX += static_cast<float>(dx / scaleX);
        centreY += static_cast<float>(dy / scaleY);
        centreY2 += dy / scaleY2;
        RefreshView();
    }
    if (event.LeftIsDown() && spanGesture != SpanGesture::None) {
        // A span being chosen: the boxes stay where they are.
        if (spanGesture == SpanGesture::Pressed && std::abs(x - spanPressX) < 3)
            return;
        spanGesture = SpanGesture::Dragging;
        const int half = GetClientSize().x / 2;
        spanFrom = centreX + (spanPressX - half) / scaleX;
        spanTo = centreX + (x - half) / scaleX;
        hasSpan = true;
        SendSpanEvent();
        Refresh(false);
        return;
    }
    if (event.LeftIsDown()) {
        // Steps add up until a paint moves the boxes by them, so a box keeps up with a pointer
        // that moves several times between two paints.
        leftDragDX += leftX - x;
        leftDragDY += leftY - y;
        leftX = x;
        leftY = y;
        RefreshView();
    }
}

void mpWindow::OnLeftDown(wxMouseEvent& event) {
    leftX = event.GetX();
    leftY = event.GetY();
    leftDragDX = 0;
    leftDragDY = 0;
    // The keys work the chart once it has been clicked.
    SetFocus();
    if (spanMode) {
        spanGesture = OnInfoBox(leftX, leftY) ? SpanGesture::None : SpanGesture::Pressed;
        spanPressX = leftX;
    }
    if (measureMode1)
        RefreshView();
    if (measureMode2)
        RefreshView();
    event.Skip();  // focus
}

void mpWindow::OnLeftUp(wxMouseEvent& event) {
    // A click (no drag) outside the span removes it; one inside leaves it.
    if (spanGesture == SpanGesture::Pressed && hasSpan) {
        const double x = centreX + (event.GetX() - GetClientSize().x / 2) / scaleX;
        if (x < GetSpanFrom() || x > GetSpanTo())
            ClearSpan();
    }
    spanGesture = SpanGesture::None;
}

// ---------------------------------------------------------------------------------------------
// Keys

void mpWindow::PanBy(int dx, int dy) {
    fitted = false;
    centreX += dx / scaleX;
    centreY += dy / scaleY;
    centreY2 += dy / scaleY2;
    RefreshView();
}

void mpWindow::OnKeyDown(wxKeyEvent& event) {
    const wxSize client = GetClientSize();
    switch (event.GetKeyCode()) {
        case WXK_LEFT:
        case WXK_NUMPAD_LEFT:
            PanBy(-(client.x / 10), 0);
            break;
        case WXK_RIGHT:
        case WXK_NUMPAD_RIGHT:
            PanBy(client.x / 10, 0);
            break;
        case WXK_UP:
        case WXK_NUMPAD_UP:
            PanBy(0, client.y / 10);
            break;
        case WXK_DOWN:
        case WXK_NUMPAD_DOWN:
            PanBy(0, -(client.y / 10));
            break;
        case WXK_HOME:
        case WXK_NUMPAD_HOME:
            Fit();
            break;
        case WXK_ESCAPE: {
            spanGesture = SpanGesture::None;
            // The modes belong to the main window, which knows the buttons that show them.
            wxCommandEvent leave(wxEVT_MENU, ID_PLOT_LEAVE_MODE);
            leave.SetEventObject(this);
            ProcessWindowEvent(leave);
            break;
        }
        case WXK_TAB:
            // The window takes every key, so the focus moves on from here itself.
            Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
            break;
        default:
            event.Skip();  // characters (+ and -) come as such
            break;
    }
}

void mpWindow::OnFocusChange(wxFocusEvent& event) {
    Refresh(false);  // the focus frame
    event.Skip();
}

void mpWindow::OnChar(wxKeyEvent& event) {
    const int key =
        event.GetUnicodeKey() != WXK_NONE ? static_cast<int>(event.GetUnicodeKey()) : event.GetKeyCode();
    if (key == '+' || key == WXK_ADD || key == WXK_NUMPAD_ADD || event.GetKeyCode() == WXK_NUMPAD_ADD)
        ZoomIn();
    else if (key == '-' || key == 0x2212 || key == WXK_SUBTRACT || event.GetKeyCode() == WXK_NUMPAD_SUBTRACT)
        ZoomOut();
    else
        event.Skip();
}

void mpWindow::OnMouseWheel(wxMouseEvent& event) {
    const int rotation = event.GetWheelRotation();
    if (event.ControlDown()) {
        if (rotation > 0)
            ZoomIn();
        else
            ZoomOut();
        return;
    }
    fitted = false;
    if (event.ShiftDown())
        centreX -= static_cast<float>(rotation / scaleX);
    else
        centreY += static_cast<float>(rotation / scaleY);
    RefreshView();
}

void mpWindow::OnScroll(wxScrollWinEvent& event) {
    // The bar is moved here, not by the toolkit's own handling: its steps are whole units, and a
    // page is the window's width in pixels, however many pixels a unit holds.
    const wxSize client = GetClientSize();
    const int orient = event.GetOrientation();
    const bool horizontal = orient == wxHORIZONTAL;
    const double unit = horizontal ? scrollUnitX : scrollUnitY;
    const int clientPixels = horizontal ? client.x : client.y;
    const int page = std::max(1, static_cast<int>(clientPixels / unit));
    const int last = std::max(0, GetScrollRange(orient) - clientPixels);
    int position = GetScrollPos(orient);
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_SCROLLWIN_THUMBTRACK || type == wxEVT_SCROLLWIN_THUMBRELEASE)
        position = event.GetPosition();
    else if (type == wxEVT_SCROLLWIN_LINEUP)
        position -= 1;
    else if (type == wxEVT_SCROLLWIN_LINEDOWN)
        position += 1;
    else if (type == wxEVT_SCROLLWIN_PAGEUP)
        position -= page;
    else if (type == wxEVT_SCROLLWIN_PAGEDOWN)
        position += page;
    else if (type == wxEVT_SCROLLWIN_TOP)
        position = 0;
    else if (type == wxEVT_SCROLLWIN_BOTTOM)
        position = last;
    position = std::clamp(position, 0, last);
    fitted = false;
    if (horizontal)
        centreX = boundMinX + (client.x / 2 + position * unit) / scaleX;
    else
        centreY = boundMaxY - (client.y / 2 + position * unit) / scaleY;
    int sx = 0, sy = 0;
    GetViewStart(&sx, &sy);
    SetScrollbars(1, 1, GetScrollRange(wxHORIZONTAL), GetScrollRange(wxVERTICAL), horizontal ? position : sx,
                  horizontal ? sy : position, true);
    Refresh(false);
}

// ---------------------------------------------------------------------------------------------
// Menu commands

void mpWindow::OnFitCommand(wxCommandEvent&) {
    Fit();
}

void mpWindow::OnZoomInCommand(wxCommandEvent&) {
    CentreOnMenuClick();
    ZoomIn();
}

void mpWindow::OnZoomOutCommand(wxCommandEvent&) {
    ZoomOut();
}

void mpWindow::OnCentreCommand(wxCommandEvent&) {
    CentreOnMenuClick();
    RefreshView();
}

void mpWindow::OnLockAspectCommand(wxCommandEvent&) {
    SetAspectLock(!lockAspect);
}

void mpWindow::OnHelpCommand(wxCommandEvent&) {
    wxMessageBox(Tr("Unterstützte Mausbefehle"), Tr("Diagramm Hilfe"), wxOK | wxICON_INFORMATION, this);
}
