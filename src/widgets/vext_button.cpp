#include "widgets/vext_button.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <algorithm>

namespace {
const wxColour faceColour(236, 233, 216);
}

// clang-format off
wxBEGIN_EVENT_TABLE(wxVextButton, wxControl)
    EVT_PAINT(wxVextButton::OnPaint)
    EVT_ENTER_WINDOW(wxVextButton::OnEnterLeave)
    EVT_LEAVE_WINDOW(wxVextButton::OnEnterLeave)
    EVT_LEFT_DOWN(wxVextButton::OnLeftDown)
    EVT_LEFT_DCLICK(wxVextButton::OnLeftDown)
    EVT_LEFT_UP(wxVextButton::OnLeftUp)
    EVT_MOTION(wxVextButton::OnMotion)
    EVT_MOUSE_CAPTURE_LOST(wxVextButton::OnCaptureLost)
    EVT_KEY_DOWN(wxVextButton::OnKeyDown)
    EVT_KEY_UP(wxVextButton::OnKeyUp)
    EVT_SET_FOCUS(wxVextButton::OnFocus)
    EVT_KILL_FOCUS(wxVextButton::OnFocus)
    EVT_SYS_COLOUR_CHANGED(wxVextButton::OnSysColourChanged)
wxEND_EVENT_TABLE()
    // clang-format on

    wxVextButton::wxVextButton(wxWindow* parent, wxWindowID id, const wxBitmapBundle& normal,
                               const wxString& text, const wxPoint& pos, const wxSize& size, long style,
                               const wxValidator& validator, const wxString& name)
    : normalBitmap(normal), label(text) {
    // Painted entirely in OnPaint (double-buffered), so no background erase that could flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    wxControl::Create(parent, id, pos, size, style, validator, name);
    // The button sizes were made for a small label font; with the desktop's usual size labels
    // such as "Messwerte 1" lose their last characters to the button's edges.
    SetFont(GetFont().Scaled(0.8f));
    SetInitialSize(size);
    SetBackgroundColour(faceColour);
}

void wxVextButton::SetBitmapLabel(const wxBitmapBundle& bitmap) {
    normalBitmap = bitmap;
    Refresh();
}

void wxVextButton::SetBitmapPressed(const wxBitmapBundle& bitmap) {
    pressedBitmap = bitmap;
    Refresh();
}

void wxVextButton::SetBitmapCurrent(const wxBitmapBundle& bitmap) {
    hoverBitmap = bitmap;
    Refresh();
}

void wxVextButton::SetBitmapFocus(const wxBitmapBundle& bitmap) {
    focusBitmap = bitmap;
    Refresh();
}

void wxVextButton::SetBitmapDisabled(const wxBitmapBundle& bitmap) {
    disabledBitmap = bitmap;
    Refresh();
}

void wxVextButton::SetLabel(const wxString& text) {
    label = text;
    Refresh(true);
}

bool wxVextButton::Enable(bool enable) {
    if (!enable) {
        // A button disabled while held down must not fire when the mouse comes up.
        if (HasCapture())
            ReleaseMouse();
        mouseDown = keyDown = false;
    }
    if (!wxControl::Enable(enable))
        return false;
    // A disabled window hears nothing of the pointer; ask where it is now.
    if (enable)
        pointerInside = wxRect(GetClientSize()).Contains(ScreenToClient(wxGetMousePosition()));
    Refresh();
    return true;
}

ButtonCondition wxVextButton::Condition() const {
    ButtonCondition c;
    c.pressed = (mouseDown && pointerInside) || keyDown;
    c.pointerInside = pointerInside;
    c.focused = HasFocus();
    c.enabled = IsEnabled();
    return c;
}

ButtonPicture wxVextButton::ChosenPicture() const {
    ButtonPicturesSet set;
    set.pressed = pressedBitmap.IsOk();
    set.hover = hoverBitmap.IsOk();
    set.focus = focusBitmap.IsOk();
    set.disabled = disabledBitmap.IsOk();
    return ChooseButtonPicture(Condition(), set);
}

wxBitmap wxVextButton::ShownBitmap() const {
    const wxBitmapBundle* shown = &normalBitmap;
    switch (ChosenPicture()) {
        case ButtonPicture::Pressed:
            shown = &pressedBitmap;
            break;
        case ButtonPicture::Hover:
            shown = &hoverBitmap;
            break;
        case ButtonPicture::Focus:
            shown = &focusBitmap;
            break;
        case ButtonPicture::Disabled:
            shown = &disabledBitmap;
            break;
        case ButtonPicture::Normal:
            break;
    }
    return shown->GetBitmapFor(this);
}

void wxVextButton::Render(wxDC& dc, const wxSize& size) const {
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();

    const wxBitmap bitmap = ShownBitmap();
    if (bitmap.IsOk()) {
        // Centred by its size in points: a double-size picture covers the same area, with twice
        // the pixels.
        const wxPoint at = CentredOrigin(size, bitmap.GetLogicalSize());
        dc.DrawBitmap(bitmap, at.x, at.y, true);
    }

    if (!label.empty()) {
        dc.SetFont(GetFont());
        dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        const wxSize extent = dc.GetTextExtent(label);
        dc.DrawText(label, (size.x - extent.x) / 2, size.y - extent.y);
    }
}

wxSize wxVextButton::DoGetBestSize() const {
    wxSize best = normalBitmap.IsOk() ? normalBitmap.GetDefaultSize() : wxSize(16, 16);
    if (!label.empty()) {
        const wxSize extent = GetTextExtent(label);
        best.x = std::max(best.x, extent.x);
        best.y += extent.y;
    }
    return best;
}

void wxVextButton::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    Render(dc, GetClientSize());
}

void wxVextButton::OnEnterLeave(wxMouseEvent& event) {
    pointerInside = event.GetEventType() == wxEVT_ENTER_WINDOW;
    if (IsEnabled() && (hoverBitmap.IsOk() || mouseDown))
        Refresh(false);
    event.Skip();
}

void wxVextButton::OnLeftDown(wxMouseEvent& event) {
    // A double click arrives as down, up, down, double click, up: the second down already
    // pressed the button, and the double click alone (where a platform sends no down) presses it.
    if (!IsEnabled() || mouseDown)
        return;
    pointerInside = true;
    if (AcceptsFocus() && !HasFocus())
        SetFocus();
    if (!HasCapture())
        CaptureMouse();
    SetMousePressed(true);
    event.Skip(false);
}

void wxVextButton::OnLeftUp(wxMouseEvent& event) {
    if (!mouseDown)
        return;
    if (HasCapture())
        ReleaseMouse();
    pointerInside = wxRect(GetClientSize()).Contains(event.GetPosition());
    const bool fire = pointerInside;
    SetMousePressed(false);
    if (fire)
        Click();
}

void wxVextButton::OnMotion(wxMouseEvent& event) {
    // While held down the pointer is captured, so leaving is only seen here: the pressed look
    // follows the pointer as a native button's does.
    const bool inside = wxRect(GetClientSize()).Contains(event.GetPosition());
    if (inside != pointerInside) {
        pointerInside = inside;
        Refresh(false);
    }
    event.Skip();
}

void wxVextButton::OnCaptureLost(wxMouseCaptureLostEvent&) {
    SetMousePressed(false);
}

void wxVextButton::OnKeyDown(wxKeyEvent& event) {
    switch (event.GetKeyCode()) {
        case WXK_SPACE:
            if (IsEnabled() && !keyDown) {
                keyDown = true;
                Refresh(false);
            }
            return;
        case WXK_RETURN:
        case WXK_NUMPAD_ENTER:
            if (IsEnabled())
                Click();
            return;
        default:
            event.Skip();
    }
}

void wxVextButton::OnKeyUp(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_SPACE && keyDown) {
        keyDown = false;
        Refresh(false);
        if (IsEnabled())
            Click();
        return;
    }
    event.Skip();
}

void wxVextButton::OnFocus(wxFocusEvent& event) {
    if (event.GetEventType() == wxEVT_KILL_FOCUS && keyDown) {
        keyDown = false;  // focus left while space was held: no click
    }
    Refresh(false);
    event.Skip();
}

void wxVextButton::OnSysColourChanged(wxSysColourChangedEvent& event) {
    if (!IsEnabled())
        Refresh();
    event.Skip();
}

void wxVextButton::SetMousePressed(bool pressed) {
    if (mouseDown == pressed)
        return;
    mouseDown = pressed;
    Refresh(false);
}

void wxVextButton::Click() {
    wxCommandEvent event(wxEVT_BUTTON, GetId());
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}
