#pragma once

#include <wx/string.h>
#include <wx/translation.h>

#include <string>

// The program's texts are its German message ids, written in UTF-8. Tr converts one and looks it
// up in the catalog of the desktop's language; without a catalog (German, or a language ZPM has
// none for) the text stays as it is. Texts kept in tables are marked with wxTRANSLATE where they
// stand and passed through Tr where they are shown. scripts/extract-messages.sh collects both.
inline wxString Tr(const char* id) {
    return wxGetTranslation(wxString::FromUTF8(id));
}

// The same as UTF-8 bytes, for messages put together in a std::string.
inline std::string Tr8(const char* id) {
    return Tr(id).utf8_string();
}
