#pragma once

// The readout legend and the text box, apart from any window: their texts, their sizes and how a
// drag or a resize places them.

#include "plot/view_layout.h"

#include <wx/string.h>

#include <vector>

namespace plotmath {

// ---------------------------------------------------------------------------------------------
// Readouts and boxes

// " %.2f " below 30, " %.0f " from 30 on.
wxString LegendValueText(double value);

// "%f" with "." whatever the locale (the readout events carry numbers that are parsed back).
wxString FixedText(double value);
// The measure events' texts: "x y" of a primary sample, "y " of a secondary one.
wxString PrimaryMeasureText(double x, double y);
wxString SecondaryMeasureText(double y);

// Legend size for rows of the given text sizes: width from 20, text width + 25 whenever a row's
// width + 20 reaches it; height 5 + the row heights + 5.
void LegendSize(const std::vector<int>& rowWidths, const std::vector<int>& rowHeights, int& width,
                int& height);

// The lines of a text, split at line breaks (a trailing break gives an empty last line).
std::vector<wxString> SplitLines(const wxString& text);

// Text box size from its lines' sizes; height 0 (nothing to draw) when the text has no visible
// character.
void TextBoxSize(const wxString& text, const TextMeasure& measure, int& width, int& height,
                 std::vector<int>* lineHeights = nullptr);

// A draggable box and the pointer, in pixels relative to the chart centre.
struct BoxState {
    int x = 0, y = 0, width = 1, height = 1;
    int refX = 0, refY = 0;    // where Move offsets from
    int lastW = 1, lastH = 1;  // window size at the last draw
};
struct PointerState {
    int leftX = 0, leftY = 0;    // last left press or drag step, window pixels
    int dragDX = 0, dragDY = 0;  // last drag step: previous minus new pointer position
};
// Drag step (a pending pointer step that starts or ends on the box moves it by that step),
// anchor update and resize step (the box keeps its relative place when the window is resized).
// True when the drag step moved the box: only then did the user place it.
bool PlaceBox(BoxState& box, const PointerState& pointer, int W, int H, double& anchorX, double& anchorY);

}  // namespace plotmath
