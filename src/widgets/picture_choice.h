#pragma once

#include <wx/gdicmn.h>

// Which state picture a hover image button shows; window-free so it can be checked on its own.

enum class ButtonPicture { Normal, Pressed, Hover, Focus, Disabled };

struct ButtonCondition {
    bool pressed = false;        // held down by the mouse or the keyboard
    bool pointerInside = false;  // the mouse pointer is over the button
    bool focused = false;        // the button has the keyboard focus
    bool enabled = true;
};

struct ButtonPicturesSet {
    bool pressed = false;
    bool hover = false;
    bool focus = false;
    bool disabled = false;
};

// First match wins: pressed, hover, focus, disabled, normal. A disabled button shows neither
// the pressed, the hover nor the focus look: it cannot be clicked.
ButtonPicture ChooseButtonPicture(const ButtonCondition& condition, const ButtonPicturesSet& set);

// Top left corner that centres an item of the given size in an area (integer division, so an
// item larger than the area is cut evenly on both sides).
wxPoint CentredOrigin(const wxSize& area, const wxSize& item);
