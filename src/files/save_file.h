#pragma once

#include <wx/string.h>

#include <functional>
#include <ostream>
#include <string>

// Outcome of writing a job or CSV file. The main window turns it into its message: CannotOpen
// into "Cannot open File for Writing" (job file) or the "Öffnen der Exceldatei fehlgeschlagen…"
// box (CSV), WriteFailed into "Error writing File". In both failure cases the previous file at the
// path is untouched.
enum class SaveResult {
    Ok,
    CannotOpen,   // the target is no regular file or write-protected, or no file can be made beside it
    WriteFailed,  // writing, flushing or the final rename failed
};

// The path as the file system spells it (the file name encoding of wx).
std::string FileSystemPath(const wxString& path);

// Writes through a temporary file beside the target that replaces the target only when writer
// returned true and everything reached the disk. A symbolic link is followed (its target is
// written), an existing file keeps its permission bits (see WriteFileAtomically).
SaveResult SaveFileSafely(const wxString& path, const std::function<bool(std::ostream&)>& writer);
