#pragma once

#include "files/save_file.h"

#include <wx/string.h>

class wxFileDialog;

// What the file commands share: the chosen path, the question before replacing a file whose
// name got an extension appended, and the messages of a failed save.
namespace filechoice {

wxString ChosenPath(const wxFileDialog& dialog);
// True: go on.
bool ConfirmReplace(const wxString& chosen, const wxString& path);
// CannotOpen: "Cannot open File for Writing"; WriteFailed: "Error writing File".
void ReportSaveFailure(SaveResult result);

}  // namespace filechoice
