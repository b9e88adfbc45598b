#pragma once

#include <wx/colour.h>
#include <wx/font.h>

// The face colour: background of the main panel, the hover buttons, the seven-segment displays and
// the tips dialog.
inline wxColour FaceColour() {
    return wxColour(236, 233, 216);
}

// The text of a filtered record's row in the record list: its values on screen are smoothed.
inline wxColour FilteredRowColour() {
    return wxColour(176, 88, 0);
}

// 9-point and 12-point bold Swiss fonts of the chart and the record list.
inline wxFont BoldSwissFont(int points) {
    return wxFont(points, wxFONTFAMILY_SWISS, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD, false);
}
