#include "charts/report_page.h"
#include "data/translate.h"

#include "data/storage.h"

#include <wx/dc.h>
#include <wx/dcgraph.h>
#include <wx/graphics.h>

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace report {

namespace {

// Heights of the texts in page units (tenths of a millimetre).
constexpr double TitleHeight = 62, HeadingHeight = 42, TextHeight = 38, SmallHeight = 29;
constexpr int Left = Margin, Right = PageWidth - Margin, Bottom = PageHeight - Margin;
constexpr int RowPitch = 50;

// Graphs: the curve over time and the water supply graph, plot areas without their labels.
const wxRect CurvePlot(Left + 150, 1440, Right - Left - 300, 370);
const wxRect SupplyPlot(Left + 150, 1990, Right - Left - 300, 400);

const wxColour Black(0, 0, 0), Grey(110, 110, 110), LightGrey(215, 215, 215);
const wxColour FlowColour(0, 0, 255), PressureColour(220, 0, 0);
const wxColour RestShade(215, 228, 248), FlowingShade(214, 240, 218);
const wxColour Met(30, 140, 50), NotMet(200, 30, 30);

// Fonts by the height of their text on the page, whatever the device makes of a point.
class Fonts {
public:
    explicit Fonts(wxDC& dc) : dc(dc) {
        dc.SetFont(Make(100, false));
        const wxCoord h = dc.GetCharHeight();
        pointsPerUnit = h > 0 ? 100.0 / h : 1.0;
    }
    void Use(double height, bool bold = false) { dc.SetFont(Make(height * pointsPerUnit, bold)); }

private:
    static wxFont Make(double points, bool bold) {
        return wxFont(wxFontInfo(points).Family(wxFONTFAMILY_SWISS).Bold(bold));
    }
    wxDC& dc;
    double pointsPerUnit = 1;
};

void TextRight(wxDC& dc, const wxString& text, int right, int y) {
    dc.DrawText(text, right - dc.GetTextExtent(text).GetWidth(), y);
}

void Rule(wxDC& dc, int y) {
    dc.SetPen(wxPen(Grey, 3));
    dc.DrawLine(Left, y, Right, y);
}

void Heading(wxDC& dc, Fonts& fonts, const char* text, int x, int y) {
    fonts.Use(HeadingHeight, true);
    dc.SetTextForeground(Black);
    dc.DrawText(Tr(text), x, y);
}

// Label and value rows; the values start at valueX.
int Rows(wxDC& dc, Fonts& fonts, const std::vector<hydrant::FigureRow>& rows, int x, int valueX, int y) {
    fonts.Use(TextHeight);
    dc.SetTextForeground(Black);
    for (const hydrant::FigureRow& row : rows) {
        dc.DrawText(row.label, x, y);
        dc.DrawText(row.value, valueX, y);
        y += RowPitch;
    }
    return y;
}

// A tick (met) or a cross (not met) in a box of side s at (x, y).
void Mark(wxDC& dc, bool met, int x, int y, int s) {
    dc.SetPen(wxPen(met ? Met : NotMet, 5));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(x, y, s, s);
    if (met) {
        const wxPoint tick[] = {
            {x + s / 5, y + s / 2}, {x + s * 2 / 5, y + s * 4 / 5}, {x + s * 4 / 5, y + s / 5}};
        dc.DrawLines(3, tick);
    } else {
        dc.DrawLine(x + s / 5, y + s / 5, x + s * 4 / 5, y + s * 4 / 5);
        dc.DrawLine(x + s * 4 / 5, y + s / 5, x + s / 5, y + s * 4 / 5);
    }
}

// Words of text broken into lines no wider than width; the user's own line breaks kept.
std::vector<wxString> Wrapped(wxDC& dc, const wxString& text, int width) {
    std::vector<wxString> lines;
    for (const wxString& paragraph : wxSplit(text, '\n', '\0')) {
        wxString line;
        for (const wxString& word : wxSplit(paragraph, ' ', '\0')) {
            const wxString longer = line.empty() ? word : line + wxString::FromUTF8(" ") + word;
            if (!line.empty() && dc.GetTextExtent(longer).GetWidth() > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = longer;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

double RoundUp(double value, double step) {
    return std::ceil(value / step - 1e-9) * step;
}

int Decimals(double step) {
    return step >= 1 ? 0 : std::min(3, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

// The samples of one pixel-wide column of many draw as their first, smallest, largest and
// last: a long record stays a short path.
std::vector<wxPoint> Polyline(const std::vector<float>& t, const std::vector<float>& v, double t0, double t1,
                              double vMax, const wxRect& area) {
    std::vector<wxPoint> points;
    const std::size_t n = std::min(t.size(), v.size());
    if (n == 0 || !(t1 > t0) || !(vMax > 0))
        return points;
    auto at = [&](std::size_t i) {
        return wxPoint(area.x + wxRound((t[i] - t0) / (t1 - t0) * area.width),
                       area.GetBottom() - wxRound(std::clamp(v[i] / vMax, 0.0, 1.0) * area.height));
    };
    std::size_t i = 0;
    while (i < n) {
        const int column = at(i).x;
        std::size_t lo = i, hi = i, j = i;
        for (; j < n && at(j).x == column; ++j) {
            if (v[j] < v[lo])
                lo = j;
            if (v[j] > v[hi])
                hi = j;
        }
        for (std::size_t k : {i, std::min(lo, hi), std::max(lo, hi), j - 1})
            if (points.empty() || points.back() != at(k))
                points.push_back(at(k));
        i = j;
    }
    return points;
}

void CurveGraph(wxDC& dc, Fonts& fonts, const Page& page) {
    const hydrant::ReportFigures& r = page.figures;
    const hydrant::Evaluation& e = r.evaluation;
    const wxRect& a = CurvePlot;
    const double t0 = page.times.empty() ? 0 : page.times.front();
    const double t1 = page.times.empty() ? 1 : std::max<double>(page.times.back(), t0 + 1);
    const double flowTop = std::max(1e-6, 1.1 * *std::max_element(page.flows.begin(), page.flows.end()));
    const double pressureTop =
        std::max(1e-6, 1.1 * *std::max_element(page.pressures.begin(), page.pressures.end()));
    const double flowStep = hydrant::RoundStep(flowTop, 5), pressureStep = hydrant::RoundStep(pressureTop, 5);
    const double flowMax = RoundUp(flowTop, flowStep), pressureMax = RoundUp(pressureTop, pressureStep);
    auto x = [&](double t) { return a.x + wxRound((t - t0) / (t1 - t0) * a.width); };

    // The phases, shaded and named, as the evaluation marks them on the chart.
    fonts.Use(SmallHeight);
    const struct {
        const hydrant::Phase& phase;
        wxColour shade;
        const char* name;
    } bands[] = {{e.restPhase, RestShade, wxTRANSLATE("Ruhe")},
                 {e.flowingPhase, FlowingShade, wxTRANSLATE("Fließen")}};
    for (const auto& b : bands) {
        const int x0 = x(b.phase.startTime), x1 = x(b.phase.endTime);
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(b.shade));
        dc.DrawRectangle(x0, a.y, std::max(1, x1 - x0), a.height);
        dc.SetTextForeground(Grey);
        dc.DrawText(Tr(b.name), x0 + 8, a.y + 6);
    }

    // Axes: time below, flow left, pressure right.
    dc.SetPen(wxPen(Black, 3));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(a);
    dc.SetTextForeground(Black);
    const double timeStep = hydrant::RoundStep(t1 - t0, 6);
    for (double t = std::ceil(t0 / timeStep) * timeStep; t <= t1 + 1e-9; t += timeStep) {
        const wxString label = hydrant::FormatSeconds(t);
        dc.DrawLine(x(t), a.GetBottom(), x(t), a.GetBottom() + 15);
        dc.DrawText(label, x(t) - dc.GetTextExtent(label).GetWidth() / 2, a.GetBottom() + 20);
    }
    for (double q = 0; q <= flowMax + 1e-9; q += flowStep) {
        const int y = a.GetBottom() - wxRound(q / flowMax * a.height);
        const wxString label = hydrant::FormatNumber(q, Decimals(flowStep));
        dc.DrawLine(a.x - 15, y, a.x, y);
        TextRight(dc, label, a.x - 22, y - dc.GetCharHeight() / 2);
    }
    for (double p = 0; p <= pressureMax + 1e-9; p += pressureStep) {
        const int y = a.GetBottom() - wxRound(p / pressureMax * a.height);
        dc.DrawLine(a.GetRight(), y, a.GetRight() + 15, y);
        dc.DrawText(hydrant::FormatNumber(p, Decimals(pressureStep)), a.GetRight() + 22,
                    y - dc.GetCharHeight() / 2);
    }
    dc.SetTextForeground(FlowColour);
    dc.DrawText(Tr("Durchfluss (") + r.units.flow + wxString::FromUTF8(")"), Left, a.y - 45);
    dc.SetTextForeground(PressureColour);
    TextRight(dc, Tr("Druck (") + r.units.pressure + wxString::FromUTF8(")"), Right, a.y - 45);

    // The curves stay inside the axes by their values' clamp: no clipping region, which some
    // devices keep for what is drawn after it.
    const std::vector<wxPoint> flow = Polyline(page.times, page.flows, t0, t1, flowMax, a);
    const std::vector<wxPoint> pressure = Polyline(page.times, page.pressures, t0, t1, pressureMax, a);
    dc.SetPen(wxPen(FlowColour, 4));
    if (flow.size() > 1)
        dc.DrawLines(static_cast<int>(flow.size()), flow.data());
    dc.SetPen(wxPen(PressureColour, 4));
    if (pressure.size() > 1)
        dc.DrawLines(static_cast<int>(pressure.size()), pressure.data());
}

void SupplyGraph(wxDC& dc, Fonts& fonts, const Page& page) {
    const hydrant::ReportFigures& r = page.figures;
    const hydrant::Evaluation& e = r.evaluation;
    const hydrant::SupplyScale s = hydrant::SupplyScaleFor(r);
    const wxRect& a = SupplyPlot;
    auto px = [&](double flow) { return a.x + wxRound(s.X(flow) * a.width); };
    auto py = [&](double pressure) { return a.GetBottom() - wxRound(s.Y(pressure) * a.height); };

    // Grid and axes; the flow ticks stand where their flow^1.85 lies.
    fonts.Use(SmallHeight);
    dc.SetTextForeground(Black);
    const int pressureDecimals = Decimals(s.pressureStep);
    // Small flows crowd together at the left: a label that would touch the one before is left out.
    int labelEnd = a.x - 1000;
    for (double q = 0; q <= s.maxFlow + 1e-9; q += s.flowStep / 2) {
        dc.SetPen(wxPen(LightGrey, 2));
        dc.DrawLine(px(q), a.y, px(q), a.GetBottom());
        const wxString label = hydrant::FormatNumber(q, Decimals(s.flowStep / 2));
        const int w = dc.GetTextExtent(label).GetWidth();
        if (px(q) - w / 2 < labelEnd + 25)
            continue;
        dc.DrawText(label, px(q) - w / 2, a.GetBottom() + 20);
        labelEnd = px(q) + w / 2;
    }
    for (double p = 0; p <= s.maxPressure + 1e-9; p += s.pressureStep) {
        dc.SetPen(wxPen(LightGrey, 2));
        dc.DrawLine(a.x, py(p), a.GetRight(), py(p));
        TextRight(dc, hydrant::FormatNumber(p, pressureDecimals), a.x - 22, py(p) - dc.GetCharHeight() / 2);
    }
    dc.SetPen(wxPen(Black, 3));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(a);
    dc.DrawText(Tr("Druck (") + r.units.pressure + wxString::FromUTF8(")"), Left, a.y - 45);
    TextRight(dc, Tr("Durchfluss (") + r.units.flow + Tr(", Maßstab Q^1,85)"), Right, a.GetBottom() + 60);

    // The minimum pressure, dashed across.
    dc.SetPen(wxPen(Grey, 3, wxPENSTYLE_SHORT_DASH));
    dc.DrawLine(a.x, py(e.requiredPressure), a.GetRight(), py(e.requiredPressure));
    dc.SetTextForeground(Grey);
    dc.DrawText(Tr("Mindestdruck ") + hydrant::FormatNumber(e.requiredPressure, r.units.pressureDecimals) +
                    wxString::FromUTF8(" ") + r.units.pressure,
                a.x + 10, py(e.requiredPressure) + 6);

    // The line from the static point through the test point, on to the minimum pressure.
    const wxPoint atRest(px(0), py(e.staticPressure)), tested(px(e.flow), py(e.flowingPressure));
    wxPoint end = tested;
    if (r.projected) {
        const double share = (e.staticPressure - e.requiredPressure) / (e.staticPressure - e.flowingPressure);
        end = wxPoint(a.x + wxRound(s.X(e.flow) * share * a.width), py(e.requiredPressure));
    }
    const wxColour line(SupplyLineColour[0], SupplyLineColour[1], SupplyLineColour[2]);
    // It ends inside the axes: the flow axis reaches beyond the available flow.
    dc.SetPen(wxPen(line, 5));
    dc.DrawLine(atRest, end);
    if (r.projected) {
        const wxPoint available(px(e.availableFlow), py(e.requiredPressure));
        dc.SetPen(wxPen(line, 3, wxPENSTYLE_SHORT_DASH));
        dc.DrawLine(available.x, available.y, available.x, a.GetBottom());
        dc.SetPen(wxPen(line, 4));
        dc.SetBrush(*wxWHITE_BRUSH);
        dc.DrawCircle(available, 14);
        dc.SetTextForeground(Black);
        const wxString label = Tr("verfügbar ") +
                               hydrant::FormatNumber(e.availableFlow, r.units.flowDecimals) +
                               wxString::FromUTF8(" ") + r.units.flow;
        const int w = dc.GetTextExtent(label).GetWidth();
        dc.DrawText(label, std::min(available.x + 20, a.GetRight() - w - 10), available.y + 12);
    }
    dc.SetPen(wxPen(Black, 3));
    dc.SetBrush(*wxBLACK_BRUSH);
    dc.DrawCircle(atRest, 12);
    dc.DrawCircle(tested, 12);
    dc.SetTextForeground(Black);
    dc.DrawText(Tr("Ruhedruck"), atRest.x + 20, atRest.y - dc.GetCharHeight() - 6);
    dc.DrawText(Tr("Messpunkt"), tested.x + 20, tested.y - dc.GetCharHeight() - 6);
}

void Classes(wxDC& dc, Fonts& fonts, const hydrant::ReportFigures& r, int y) {
    fonts.Use(TextHeight);
    dc.SetTextForeground(Black);
    int x = Left;
    auto chip = [&](hydrant::HydrantClass c, int height) {
        const hydrant::Rgb rgb = hydrant::ClassColour(c);
        const wxString name = hydrant::ClassName(c);
        const int w = dc.GetTextExtent(name).GetWidth() + 30;
        dc.SetPen(wxPen(Black, 2));
        dc.SetBrush(wxBrush(wxColour(rgb.r, rgb.g, rgb.b)));
        dc.DrawRectangle(x, y - 4, w, height + 8);
        dc.DrawText(name, x + 15, y);
        x += w + 20;
    };
    if (r.gallons) {
        if (r.classGiven)
            chip(r.hydrantClass, dc.GetCharHeight());
        dc.DrawText(hydrant::LeadingClassText(r), x, y);
    } else {
        wxString head = Tr("Löschwasser-Grundschutz (DVGW W 405): ");
        if (r.levelsGiven)
            head << hydrant::FormatNumber(r.levelFlow, 1) << Tr(" m³/h bei ")
                 << hydrant::FormatNumber(r.levelPressure, r.units.pressureDecimals)
                 << wxString::FromUTF8(" ") << r.units.pressure;
        else
            head << Tr("keine Angabe ohne Hochrechnung");
        dc.DrawText(head, x, y);
        y += RowPitch + 5;
        // One box per level: filled where the flow reaches it.
        const int count = static_cast<int>(std::size(hydrant::SupplyLevels)), gap = 20;
        const int w = (Right - Left - (count - 1) * gap) / count;
        for (int i = 0; i < count; ++i) {
            const bool reached = r.levelsGiven && i < r.levelsReached;
            const int bx = Left + i * (w + gap);
            dc.SetPen(wxPen(reached ? Met : Grey, 3));
            dc.SetBrush(reached ? wxBrush(wxColour(214, 240, 218)) : *wxTRANSPARENT_BRUSH);
            dc.DrawRectangle(bx, y - 6, w, dc.GetCharHeight() + 12);
            dc.SetTextForeground(reached ? Met : Grey);
            dc.DrawText(hydrant::FormatNumber(hydrant::SupplyLevels[i], 0) + wxString::FromUTF8(" m³/h ") +
                            (reached ? Tr("erreicht") : Tr("nicht erreicht")),
                        bx + 15, y);
        }
        dc.SetTextForeground(Black);
    }
    // The other system's figure, in small type.
    y += RowPitch + 10;
    fonts.Use(SmallHeight);
    dc.SetTextForeground(Grey);
    x = Left;
    if (!r.gallons && r.classGiven)
        chip(r.hydrantClass, dc.GetCharHeight());
    dc.SetTextForeground(Grey);
    dc.DrawText(hydrant::OtherClassText(r), x, y);
}

}  // namespace

wxRect SupplyPlotArea() {
    return SupplyPlot;
}

Page MakePage(const Storage& record, const hydrant::Evaluation& evaluation, const Site& site) {
    Page page;
    page.figures = hydrant::MakeReport(evaluation, record);
    page.site = site;
    page.testTime = record.StartTime().IsValid()
                        ? record.StartTime().Format(wxString::FromAscii("%d.%m.%Y %H:%M:%S"))
                        : record.DateText();
    page.serialNumber = record.SerialNumber();
    page.times = record.Times();
    page.flows = record.Flows();
    page.pressures = record.Pressures();
    return page;
}

void Draw(wxDC& dc, const Page& page) {
    const hydrant::ReportFigures& r = page.figures;
    Fonts fonts(dc);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);

    // Head.
    int y = Margin;
    fonts.Use(TitleHeight, true);
    dc.SetTextForeground(Black);
    dc.DrawText(Tr("Prüfbericht Hydrantenprüfung"), Left, y);
    fonts.Use(TextHeight);
    TextRight(dc, Tr("ZPM Version 4.8"), Right, y + 10);
    y += 85;
    dc.DrawText(Tr("Prüfung vom ") + page.testTime, Left, y);
    TextRight(dc,
              Tr("Logger-Seriennummer: ") +
                  (page.serialNumber != 0 ? wxString::Format(wxString::FromAscii("%d"), page.serialNumber)
                                          : wxString::FromUTF8("–")),
              Right, y);
    y += 60;
    Rule(dc, y);

    // The site.
    y += 25;
    y = Rows(dc, fonts,
             {{Tr("Hydrant / Ort:"), page.site.place},
              {Tr("Leitung:"), page.site.line},
              {Tr("Prüfer:"), page.site.tester}},
             Left, Left + 330, y);

    // Measured and result side by side.
    y += 15;
    const int column = Left + 950;
    Heading(dc, fonts, wxTRANSLATE("Messwerte"), Left, y);
    Heading(dc, fonts, wxTRANSLATE("Ergebnis"), column, y);
    y += RowPitch + 5;
    const int after = Rows(dc, fonts, hydrant::MeasuredRows(r), Left, Left + 330, y);
    int ry = Rows(dc, fonts, hydrant::ResultRows(r), column, column + 430, y);
    if (!r.projected) {
        fonts.Use(SmallHeight);
        dc.SetTextForeground(NotMet);
        for (const wxString& l : Wrapped(dc, r.noProjection, Right - column)) {
            dc.DrawText(l, column, ry);
            ry += 40;
        }
    }
    y = std::max(after, ry) + 15;

    // Checks.
    Heading(dc, fonts, wxTRANSLATE("Prüfungen"), Left, y);
    y += RowPitch + 5;
    fonts.Use(TextHeight);
    for (const hydrant::CheckResult& c : r.checks) {
        const int box = dc.GetCharHeight() - 6;
        Mark(dc, c.met, Left, y + 3, box);
        dc.SetTextForeground(Black);
        dc.DrawText(c.text, Left + box + 25, y);
        dc.SetTextForeground(c.met ? Met : NotMet);
        TextRight(dc, c.met ? Tr("erfüllt") : Tr("nicht erfüllt"), Right, y);
        y += RowPitch;
    }

    // Classes.
    y += 15;
    Heading(dc, fonts, wxTRANSLATE("Versorgung"), Left, y);
    Classes(dc, fonts, r, y + RowPitch + 5);

    // The two graphs.
    Heading(dc, fonts, wxTRANSLATE("Verlauf von Durchfluss und Druck"), Left, CurvePlot.y - 110);
    CurveGraph(dc, fonts, page);
    Heading(dc, fonts, wxTRANSLATE("Wasserversorgung: Druck über Durchfluss"), Left, SupplyPlot.y - 110);
    SupplyGraph(dc, fonts, page);

    // Remark and signature.
    y = SupplyPlot.GetBottom() + 110;
    Heading(dc, fonts, wxTRANSLATE("Bemerkung"), Left, y);
    y += RowPitch + 5;
    fonts.Use(TextHeight);
    dc.SetTextForeground(Black);
    for (const wxString& l : Wrapped(dc, page.site.remark, Right - Left)) {
        if (y > Bottom - 200)
            break;  // what does not fit above the signature stays off the page
        dc.DrawText(l, Left, y);
        y += 45;
    }
    const int signature = Bottom - 60;
    dc.SetPen(wxPen(Black, 3));
    dc.DrawLine(Left, signature, Left + 600, signature);
    dc.DrawLine(Left + 800, signature, Right, signature);
    fonts.Use(SmallHeight);
    dc.SetTextForeground(Grey);
    dc.DrawText(Tr("Datum"), Left, signature + 10);
    dc.DrawText(Tr("Unterschrift Prüfer: ") + page.site.tester, Left + 800, signature + 10);
}

void DrawOnCairo(cairo_t* cr, const Page& page) {
    cairo_save(cr);
    cairo_scale(cr, 72.0 / 254.0, 72.0 / 254.0);
    {
        // The toolkit's drawing on the cairo context, so the one routine serves every device.
        wxGCDC dc(wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(cr));
        Draw(dc, page);
    }
    cairo_restore(cr);
}

namespace {
cairo_status_t WriteToStream(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::ostream*>(closure);
    out->write(reinterpret_cast<const char*>(data), length);
    return *out ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}
}  // namespace

bool WritePdf(std::ostream& out, const Page& page) {
    // A4 in points.
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(WriteToStream, &out, 595.28, 841.89);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE,
                                   Tr8("Prüfbericht Hydrantenprüfung").c_str());
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "ZPM Version 4.8");
    cairo_t* cr = cairo_create(surface);
    DrawOnCairo(cr, page);
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok && out.good();
}

Printout::Printout(const wxString& title, const Page& page_) : wxPrintout(title), page(page_) {}

void Printout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *maxPage = *pageFrom = *pageTo = 1;
}

bool Printout::OnPrintPage(int) {
    wxDC* dc = GetDC();
    if (!dc)
        return false;
    // The whole sheet in tenths of a millimetre; the page keeps its own margins.
    FitThisSizeToPaper(wxSize(PageWidth, PageHeight));
    Draw(*dc, page);
    return true;
}

}  // namespace report
