#pragma once

#include <wx/string.h>

#include <cmath>
#include <vector>

// The program's command line: zpm [--help | --version] [FILE.kvr ...], and the hydrant test
// report without a window: zpm --report JOB.kvr --record N [--min-pressure P] [--tester NAME]
// --output OUT.pdf. Window-free, so these answer before the toolkit looks for a display.
namespace commandline {

struct ReportRequest {
    wxString job, output, tester;
    bool testerGiven = false;
    long record = 0;           // as the record list numbers them, from 1
    double minPressure = NAN;  // in the record's pressure unit; NaN: the evaluation's default
};

struct Arguments {
    enum class Action { Run, Help, Version, Unknown, Report, UsageError };
    Action action = Action::Run;
    std::vector<wxString> files;  // in order; the program opens the first
    wxString unknownOption;       // for Action::Unknown
    ReportRequest report;         // for Action::Report
    wxString usageError;          // for Action::UsageError, one line
};

// args without the program name. "--" ends the options; "-" alone is a file name.
Arguments Parse(const std::vector<wxString>& args);

// The texts printed for --help (program: the name it was started by) and --version.
wxString UsageText(const wxString& program);
wxString VersionText();

}  // namespace commandline
