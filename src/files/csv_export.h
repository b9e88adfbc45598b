#pragma once

#include "data/storage.h"
#include "files/save_file.h"

#include <wx/string.h>

#include <cstddef>
#include <ostream>

// Export of one record as comma-separated values for a spreadsheet: six header lines, then
// "time,flow,volume,pressure" with two decimals per sample. Text is ISO 8859-1, one byte a
// character ("?" for what it cannot hold).
//
// Wiring in the main window (menu id 35): name = csvexport::DefaultFileName(rec.DateText()) for
// the dialog; path = csvexport::PathWithExtension(dialog path);
// csvexport::Save(path, rec): CannotOpen -> the box "Öffnen der Exceldatei
// fehlgeschlagen, möglicherweise wird sie bereits durch ein anderes Programm benutzt?";
// WriteFailed -> "Error writing File". A failed export leaves an existing file untouched.
namespace csvexport {

struct UnitTexts {
    wxString flow;      // "L/min", "L/s", "M³/h", "G/min"
    wxString volume;    // "L", "M³", "G"
    wxString pressure;  // "Bar", "psi", "MtrH", "KPa"; empty for an unknown code
};

// Texts for a record of unitSystem, flowUnit and pressureUnit. Flow unit 3
// on a metric record gives "G/min" and "G": such records hold US gallons.
UnitTexts UnitTextsFor(int unitSystem, int flowUnit, int pressureUnit);

// The proposed file name: the date text with ":", "/", ".", "," and "'" replaced by "_".
wxString DefaultFileName(const wxString& dateText);

// ".csv" appended unless the chosen name contains ".csv" anywhere.
wxString PathWithExtension(const wxString& chosen);

// Writes the export of rec, in the record's own units; path is the text of the "File Name," line.
// Only the samples [first, end) (a span of the chart): the same header, and the same lines the
// whole export holds for them. False when the stream failed.
bool Write(std::ostream& out, const Storage& rec, const wxString& path, std::size_t first = 0,
           std::size_t end = static_cast<std::size_t>(-1));

// Writes the file at path without ever destroying the previous one.
SaveResult Save(const wxString& path, const Storage& rec, std::size_t first = 0,
                std::size_t end = static_cast<std::size_t>(-1));

}  // namespace csvexport
