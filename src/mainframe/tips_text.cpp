#include "mainframe/tips_text.h"

std::vector<wxString> BreakTipText(const wxString& text) {
    std::vector<wxString> lines;
    wxString rest = text;
    while (!rest.empty()) {
        if (rest.length() <= 40) {
            lines.push_back(rest);
            break;
        }
        int blank = rest.Left(40).Find(' ', true);
        if (blank == wxNOT_FOUND || blank <= 1) {
            lines.push_back(rest);
            break;
        }
        lines.push_back(rest.Left(blank));
        rest = rest.Mid(blank + 1);
    }
    return lines;
}
