#pragma once

#include <wx/colour.h>

#include <ostream>

// Readable colours in test failures.
inline void PrintTo(const wxColour& c, std::ostream* os) {
    *os << "RGB(" << int(c.Red()) << ", " << int(c.Green()) << ", " << int(c.Blue()) << ")";
}
