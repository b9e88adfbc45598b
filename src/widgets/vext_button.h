#pragma once

#include "widgets/picture_choice.h"

#include <wx/bitmap.h>
#include <wx/bmpbndl.h>
#include <wx/control.h>
#include <wx/string.h>

class wxDC;

// A push button that is nothing but its pictures: a state picture centred in the button and a
// label drawn under it, centred on the bottom edge. The hover and pressed pictures carry the
// raised or sunken frame, so the button draws no face, frame or focus rectangle of its own.
// It is drawn by itself rather than by a native button, which would paint its own face and
// frame around the pictures. A click issues the ordinary button command with the button's id.
// Each picture is a bundle, so a desktop that scales by 2 gets the double-size drawing.
class wxVextButton : public wxControl {
public:
    wxVextButton(wxWindow* parent, wxWindowID id, const wxBitmapBundle& normal, const wxString& label,
                 const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                 long style = wxNO_BORDER, const wxValidator& validator = wxDefaultValidator,
                 const wxString& name = wxString::FromAscii("button"));

    // State pictures; each setter repaints. An unset picture falls back to the normal one.
    void SetBitmapLabel(const wxBitmapBundle& bitmap);
    void SetBitmapPressed(const wxBitmapBundle& bitmap);
    void SetBitmapSelected(const wxBitmapBundle& bitmap) { SetBitmapPressed(bitmap); }
    void SetBitmapCurrent(const wxBitmapBundle& bitmap);
    void SetBitmapHover(const wxBitmapBundle& bitmap) { SetBitmapCurrent(bitmap); }
    void SetBitmapFocus(const wxBitmapBundle& bitmap);
    void SetBitmapDisabled(const wxBitmapBundle& bitmap);

    // The pictures at their stated size.
    wxBitmap GetBitmapLabel() const { return normalBitmap.GetBitmap(wxDefaultSize); }
    wxBitmap GetBitmapPressed() const { return pressedBitmap.GetBitmap(wxDefaultSize); }
    wxBitmap GetBitmapSelected() const { return GetBitmapPressed(); }
    wxBitmap GetBitmapCurrent() const { return hoverBitmap.GetBitmap(wxDefaultSize); }
    wxBitmap GetBitmapHover() const { return GetBitmapCurrent(); }
    wxBitmap GetBitmapFocus() const { return focusBitmap.GetBitmap(wxDefaultSize); }
    wxBitmap GetBitmapDisabled() const { return disabledBitmap.GetBitmap(wxDefaultSize); }
    // The pressed picture for every screen scale.
    const wxBitmapBundle& GetBitmapBundlePressed() const { return pressedBitmap; }

    // The label is the button's own: drawn under the picture, never handed to the window system.
    void SetLabel(const wxString& text) override;
    wxString GetLabel() const override { return label; }

    // The state the picture is chosen from, and the choice itself.
    ButtonCondition Condition() const;
    ButtonPicture ChosenPicture() const;
    // The picture the button shows right now (the normal one when the chosen one is unset), in
    // the size for the screen's scale.
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

    wxBitmapBundle normalBitmap, pressedBitmap, hoverBitmap, focusBitmap, disabledBitmap;
    wxString label;
    bool mouseDown = false;      // left button went down here and has not come up yet
    bool keyDown = false;        // space held down while focused
    bool pointerInside = false;  // last known position of the mouse pointer

    wxDECLARE_EVENT_TABLE();
};
