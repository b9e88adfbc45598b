#include "app/tester_file.h"

#include "app/app_settings.h"
#include "app/atomic_file.h"

#include <wx/filename.h>

#include <istream>

namespace testerfile {

std::string DefaultPath() {
    const wxFileName settings(wxString::FromUTF8(settingsfile::DefaultPath()));
    return wxFileName(settings.GetPath(), wxString::FromAscii(FileName)).GetFullPath().utf8_string();
}

wxString Load(const std::string& path) {
    RegularFileReader file(path);
    if (!file.IsOpen())
        return wxString();
    std::string line;
    std::getline(file.Stream(), line);
    return wxString::FromUTF8(line).Trim().Trim(false);
}

bool Save(const std::string& path, const wxString& tester) {
    MakeFolders(wxFileName(wxString::FromUTF8(path)).GetPath().utf8_string());
    // One line: a name typed with a line break keeps its first line only.
    wxString line = tester.BeforeFirst('\n');
    line.Trim().Trim(false);
    return WriteFileAtomically(path, line.utf8_string() + "\n") == AtomicWriteResult::Ok;
}

}  // namespace testerfile
