#include "plot/box_layout.h"

#include <algorithm>

namespace plotmath {

// ---------------------------------------------------------------------------------------------
// Readouts and boxes

wxString LegendValueText(double value) {
    return wxS(" ") + FixedDigits(value, value < 30 ? 2 : 0) + wxS(" ");
}

wxString FixedText(double value) {
    return FixedDigits(value, 6);
}

wxString PrimaryMeasureText(double x, double y) {
    return FixedText(x) + wxS(" ") + FixedText(y);
}

wxString SecondaryMeasureText(double y) {
    return FixedText(y) + wxS(" ");
}

void LegendSize(const std::vector<int>& rowWidths, const std::vector<int>& rowHeights, int& width,
                int& height) {
    width = 20;
    for (int w : rowWidths) {
        if (w + 20 >= width)
            width = w + 25;
    }
    height = 5;
    for (int h : rowHeights)
        height += h;
    height += 5;
}

std::vector<wxString> SplitLines(const wxString& text) {
    std::vector<wxString> lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(wxUniChar('\n'), start);
        if (end == wxString::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void TextBoxSize(const wxString& text, const TextMeasure& measure, int& width, int& height,
                 std::vector<int>* lineHeights) {
    width = 10;
    height = 0;
    if (lineHeights)
        lineHeights->clear();
    bool visible = false;
    for (wxUniChar c : text) {
        if (c != wxUniChar('\n') && c != wxUniChar('\r')) {
            visible = true;
            break;
        }
    }
    if (!visible)
        return;
    int blockWidth = 0, blockHeight = 0;
    for (const wxString& line : SplitLines(text)) {
        int w = 0, h = 0;
        if (line.empty()) {
            // A blank line keeps the height of a line of text.
            measure(wxS(" "), w, h);
            w = 0;
        } else {
            measure(line, w, h);
        }
        blockWidth = std::max(blockWidth, w);
        blockHeight += h;
        if (lineHeights)
            lineHeights->push_back(h);
    }
    width = blockWidth + 10;
    height = blockHeight > 0 ? blockHeight + 10 : 0;
}

bool PlaceBox(BoxState& box, const PointerState& pointer, int W, int H, double& anchorX, double& anchorY) {
    // Drag step: only a pending pointer step moves the box, by exactly that step.
    const int px = pointer.leftX - W / 2, py = pointer.leftY - H / 2;
    const auto inside = [&box](int x, int y) {
        return x >= box.x && x <= box.x + box.width && y >= box.y && y <= box.y + box.height;
    };
    bool dragged = false;
    if ((pointer.dragDX != 0 || pointer.dragDY != 0) &&
        (inside(px, py) || inside(px + pointer.dragDX, py + pointer.dragDY))) {
        box.x -= pointer.dragDX;
        box.y -= pointer.dragDY;
        dragged = true;
    }
    anchorX = box.x;
    anchorY = box.y;
    // Resize step: keep the relative place.
    if (W != box.lastW || H != box.lastH) {
        if (box.lastW != 1 && box.lastW > 0)
            box.x = static_cast<int>(static_cast<long long>(W) * box.x / box.lastW);
        if (box.lastH != 1 && box.lastH > 0) {
            box.y = static_cast<int>(static_cast<long long>(H) * box.y / box.lastH);
            box.refX = box.x;
            box.refY = box.y;
        }
        box.lastW = W;
        box.lastH = H;
    }
    return dragged;
}

}  // namespace plotmath
