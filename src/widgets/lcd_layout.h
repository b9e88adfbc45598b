#pragma once

#include <wx/gdicmn.h>
#include <wx/string.h>

#include <cstdint>
#include <vector>

// Window-free part of the seven-segment display: which segments each digit cell lights, and how
// the drawing is scaled and placed in a window. The display window only paints what these say.

// Segment bits of a cell.
enum LcdSegment : std::uint8_t {
    LCD_TOP = 1 << 0,
    LCD_UPPER_LEFT = 1 << 1,
    LCD_UPPER_RIGHT = 1 << 2,
    LCD_LOWER_LEFT = 1 << 3,
    LCD_LOWER_RIGHT = 1 << 4,
    LCD_BOTTOM = 1 << 5,
    LCD_MIDDLE = 1 << 6,
};

struct LcdCell {
    std::uint8_t segments = 0;  // LcdSegment bits
    bool point = false;         // decimal point lit
    bool colon = false;         // cell shows a colon (two dots) instead of segments

    bool operator==(const LcdCell&) const = default;
};

// Segment bits of one character; characters outside the table light nothing.
std::uint8_t LcdSegmentsOf(wxUniChar c);

// Lays out a text on cellCount cells. Element 0 is the rightmost cell. Points take no cell of
// their own but light the point of the cell before them; ".." leaves a blank cell with a point.
// Cells left of the text are blank; characters that do not fit on the left are dropped.
std::vector<LcdCell> LayoutLcdText(const wxString& text, int cellCount);

// Sizes of the drawing, in drawing units.
struct LcdGeometry {
    int segmentLength = 40;     // L
    int segmentThickness = 11;  // W
    int cellGap = 5;            // S

    int CellWidth() const { return segmentLength + segmentThickness + cellGap; }
    int TotalWidth(int cellCount) const { return CellWidth() * cellCount + cellGap; }
    int TotalHeight() const { return 2 * (cellGap + segmentLength); }
    // Left edge of cell i (0 = rightmost) and the top of every cell.
    int CellLeft(int i, int cellCount) const { return CellWidth() * (cellCount - 1 - i) + cellGap; }
    int CellTop() const { return cellGap; }
};

// The drawing keeps its proportions: one scale for both directions, centred in the window.
struct LcdTransform {
    double scale = 0.0;
    wxPoint origin;  // device pixels of drawing unit (0, 0)
};

LcdTransform ComputeLcdTransform(const wxSize& client, const LcdGeometry& geometry, int cellCount);

// Elapsed seconds as a time of day "HH:MM:SS" (hours modulo 24); fractions are cut off.
wxString FormatElapsed(double seconds);
