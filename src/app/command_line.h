#pragma once

#include <wx/string.h>

#include <vector>

// The program's command line: zpm [--help | --version] [FILE.kvr ...]. Window-free, so --help
// and --version answer before the toolkit looks for a display.
namespace commandline {

struct Arguments {
    enum class Action { Run, Help, Version, Unknown };
    Action action = Action::Run;
    std::vector<wxString> files;  // in order; the program opens the first
    wxString unknownOption;       // for Action::Unknown
};

// args without the program name. "--" ends the options; "-" alone is a file name.
Arguments Parse(const std::vector<wxString>& args);

// The texts printed for --help (program: the name it was started by) and --version.
wxString UsageText(const wxString& program);
wxString VersionText();

}  // namespace commandline
