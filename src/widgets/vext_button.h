#pragma once

#include "widgets/picture_choice.h"

#include <wx/bitmap.h>
#include <wx/control.h>
#include <wx/string.h>

class wxDC;

// A push button that is nothing but its pictures: a state picture centred in the button and a
// label drawn under it, centred on the bottom edge. The hover and pressed pictures carry the
// raised or sunken frame, so the button draws no face, frame or focus rectangle of its own.
// It is drawn by itself rather than by a native button, which would paint its own face and
// frame around the pictures. A click issues the ordinary button command with the button's id.
class wxVextButton : public wxControl {
public:
    wxVextButton(wxWindow* parent, wxWindowID id, const wxBitmap& normal, const wxString& label,
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                 long style = wxNO_BORDER, const wxValidator& validator = wxDefaultValidator,
                 const wxString& name = wxString::FromAscii("button"));

    // State pictures; each setter repaints. An unset picture falls back to the normal one.
    void SetBitmapLabel(const wxBitmap& bitmap);
    void SetBitmapPressed(const wxBitmap& bitmap);
    void SetBitmapSelected(const wxBitmap& bitmap) { SetBitmapPressed(bitmap); }
    void SetBitmapCurrent(const wxBitmap& bitmap);
    void SetBitmapHover(const wxBitmap& bitmap) { SetBitmapCurrent(bitmap); }
    void SetBitmapFocus(const wxBitmap& bitmap);
    void SetBitmapDisabled(const wxBitmap& bitmap);

    wxBitmap GetBitmapLabel() const { return normalBitmap; }
    wxBitmap GetBitmapPressed() const { return pressedBitmap; }
    wxBitmap GetBitmapSelected() const { return pressedBitmap; }
    wxBitmap GetBitmapCurrent() const { return hoverBitmap; }
    wxBitmap GetBitmapHover() const { return hoverBitmap; }
    wxBitmap GetBitmapFocus() const { return focusBitmap; }
    wxBitmap GetBitmapDisabled() const { return disabledBitmap; }

    // The label is the button's own: drawn under the picture, never handed to the window system.
    void SetLabel(const wxString& text) override;
    wxString GetLabel() const override { return label; }

    // The state the picture is chosen from, and the choice itself.
    ButtonCondition Condition() const;
    ButtonPicture ChosenPicture() const;
    // The picture the button shows right now (the normal one when the chosen one is unset).
    wxBitmap ShownBitmap() const;

    // Draws the button as it looks now into a device context of the given size; the paint
    // handler uses it too.
    void Render(wxDC& dc, const wxSize& size) const;

    bool AcceptsFocus() const override { return IsShown() && IsEnabled(); }
    bool AcceptsFocusFromKeyboard() const override { return AcceptsFocus(); }
    bool Enable(bool enable = true) override;

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnEnterLeave(wxMouseEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnKeyUp(wxKeyEvent& event);
    void OnFocus(wxFocusEvent& event);
    void OnSysColourChanged(wxSysColourChangedEvent& event);

    void SetMousePressed(bool pressed);
    void Click();

    wxBitmap normalBitmap, pressedBitmap, hoverBitmap, focusBitmap, disabledBitmap;
    wxString label;
    bool mouseDown = false;      // left button went down here and has not come up yet
    bool keyDown = false;        // space held down while focused
    bool pointerInside = false;  // last known position of the mouse pointer

    wxDECLARE_EVENT_TABLE();
};
