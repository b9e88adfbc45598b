#pragma once

#include <wx/string.h>

#include <vector>

// Breaks a tip text into lines of at most 40 characters at the last blank among the first 40.
// Without such a blank (or with it at position 0 or 1) the rest stays on one line in full.
std::vector<wxString> BreakTipText(const wxString& text);
