#pragma once

#include <wx/string.h>

#include <istream>
#include <optional>

// The logger database file (".hex"): blocks of five sections ("toc", "icd", "eof", "ftoc",
// "fbuf"), each block headed by the five section lengths as 3-byte big-endian numbers. The
// import only checks that every block is complete; the sections are read and dropped.
//
// Wiring in the main window (command id 46): title = chosen file name;
// m = dbimport::ScanFile(path); !m -> wxLogError "Cannot open File for Reading";
// non-empty *m -> wxLogMessage(*m).
namespace dbimport {

// Reads the stream (binary, seekable) block by block. Returns the message to show
// ("Error reading lenghts from import file", "Error Import: toc" … "Error Import: fbuf"), or an
// empty text when the file was complete. Memory use does not depend on the lengths read.
wxString Scan(std::istream& in);

// Opens the file at path; nothing when it cannot be opened or is no regular file.
std::optional<wxString> ScanFile(const wxString& path);

}  // namespace dbimport
