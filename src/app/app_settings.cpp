#include "app/app_settings.h"

#include "app/atomic_file.h"

#include <wx/filename.h>
#include <wx/stdpaths.h>

#include <sys/stat.h>

#include <cerrno>

#include <sstream>

SettingsRecord AppSettings;

namespace settingsfile {

SettingsRecord Parse(std::istream& in) {
    SettingsRecord s;  // defaults for whatever the file lacks
    long long v[7];
    int n = 0;
    while (n < 7 && (in >> v[n]))
        ++n;
    if (n > 0)
        s.unitSystem = static_cast<std::uint8_t>(v[0] & 0xFF);
    if (n > 1)
        s.pressureUnit = static_cast<std::uint8_t>(v[1] & 0xFF);
    if (n > 2)
        s.firmwareVersion = static_cast<std::int32_t>(v[2]);
    if (n > 3)
        s.showTips = v[3] != 0;
    if (n > 4)
        s.flowUnit = static_cast<std::uint8_t>(v[4] & 0xFF);
    if (n > 5)
        s.flowUnitFixed = v[5] != 0;
    if (n > 6)
        s.absoluteTime = v[6] != 0;
    return s;
}

void Format(std::ostream& out, const SettingsRecord& s) {
    out << unsigned(s.unitSystem) << '\n'
        << unsigned(s.pressureUnit) << '\n'
        << s.firmwareVersion << '\n'
        << (s.showTips ? 1 : 0) << '\n'
        << unsigned(s.flowUnit) << '\n'
        << (s.flowUnitFixed ? 1 : 0) << '\n'
        << (s.absoluteTime ? 1 : 0) << '\n';
}

std::string DefaultPath() {
    // The toolkit's classic layout calls the home folder itself the configuration folder; the
    // desktop layout gives $XDG_CONFIG_HOME, where the file gets a folder of the program's own.
    wxStandardPaths& paths = wxStandardPaths::Get();
    paths.SetFileLayout(wxStandardPaths::FileLayout_XDG);
    const wxFileName file(
        paths.GetUserConfigDir() + wxFileName::GetPathSeparator() + wxString::FromAscii("zpm"),
        wxString::FromAscii(FileName));
    return file.GetFullPath().utf8_string();
}

std::string LegacyPath() {
    return wxFileName(wxFileName::GetHomeDir(), wxString::FromAscii(FileName)).GetFullPath().utf8_string();
}

SettingsRecord Load(const std::string& path) {
    RegularFileReader file(path);
    if (!file.IsOpen())
        return SettingsRecord{};
    return Parse(file.Stream());
}

SettingsRecord Load(const std::string& path, const std::string& legacyPath) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT)
        return Load(legacyPath);
    return Load(path);
}

bool Save(const std::string& path, const SettingsRecord& s) {
    MakeFolders(wxFileName(wxString::FromUTF8(path)).GetPath().utf8_string());
    std::ostringstream text;
    Format(text, s);
    return WriteFileAtomically(path, text.str()) == AtomicWriteResult::Ok;
}

}  // namespace settingsfile
