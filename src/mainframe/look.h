#pragma once

#include <wx/colour.h>
#include <wx/font.h>

// The face colour: background of the main panel, the hover buttons, the seven-segment displays and
// the tips dialog.
inline wxColour FaceColour() {
    return wxColour(236, 233, 216);
}

// 9-point and 12-point bold Swiss fonts of the chart and the record list.
inline wxFont BoldSwissFont(int points) {
    return wxFont(points, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD, false);
}
