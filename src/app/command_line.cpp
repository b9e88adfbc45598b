#include "app/command_line.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace commandline {

namespace {
wxString A(const char* text) {
    return wxString::FromAscii(text);
}

// A whole number or a decimal ("," taken as "."); false for anything else.
bool ParseNumber(wxString text, double& value) {
    text.Replace(A(","), A("."));
    const std::string s = text.utf8_string();
    char* end = nullptr;
    value = s.empty() ? 0 : std::strtod(s.c_str(), &end);
    return !s.empty() && end && *end == '\0' && std::isfinite(value);
}

// The report's options; a value follows as the next argument or after "=".
const char* const ReportOptions[] = {"--report", "--record", "--min-pressure", "--output", "--tester"};

// Checks and takes what the report options gave. An empty text: all is well.
wxString TakeReportOption(ReportRequest& r, const wxString& option, const wxString& value) {
    if (option == A("--report")) {
        r.job = value;
    } else if (option == A("--output")) {
        r.output = value;
    } else if (option == A("--tester")) {
        r.tester = value;
        r.testerGiven = true;
    } else if (option == A("--record")) {
        double n = 0;
        if (!ParseNumber(value, n) || n < 1 || n != std::floor(n) || n > 1e9)
            return A("--record takes a record number from 1");
        r.record = static_cast<long>(n);
    } else if (option == A("--min-pressure")) {
        double p = 0;
        if (!ParseNumber(value, p) || p < 0)
            return A("--min-pressure takes a pressure of 0 or more");
        r.minPressure = p;
    }
    return wxString();
}

}  // namespace

Arguments Parse(const std::vector<wxString>& args) {
    Arguments result;
    bool options = true;
    bool reportOptions = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const wxString& arg = args[i];
        const wxString name = arg.BeforeFirst('=');
        const bool isReportOption = options && std::any_of(std::begin(ReportOptions), std::end(ReportOptions),
                                                           [&](const char* o) { return name == A(o); });
        if (isReportOption) {
            reportOptions = true;
            wxString value;
            if (arg.Contains(A("="))) {
                value = arg.AfterFirst('=');
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                if (result.usageError.empty())
                    result.usageError = name + A(" needs a value");
                continue;
            }
            const wxString problem = TakeReportOption(result.report, name, value);
            if (!problem.empty() && result.usageError.empty())
                result.usageError = problem;
        } else if (options && arg == A("--")) {
            options = false;
        } else if (options && (arg == A("--help") || arg == A("-h"))) {
            result.action = Arguments::Action::Help;
            return result;
        } else if (options && arg == A("--version")) {
            result.action = Arguments::Action::Version;
            return result;
        } else if (options && arg.length() > 1 && arg[0] == '-') {
            // Remembered, not returned: a later --help or --version still answers.
            if (result.unknownOption.empty())
                result.unknownOption = arg;
        } else {
            result.files.push_back(arg);
        }
    }
    if (reportOptions) {
        // The report writes a file and ends; what belongs to a window has no place beside it.
        ReportRequest& r = result.report;
        if (result.usageError.empty() && !result.unknownOption.empty())
            result.usageError = A("unknown option ") + result.unknownOption;
        if (result.usageError.empty() && !result.files.empty())
            result.usageError = A("a report takes its job file with --report, not ") + result.files.front();
        if (result.usageError.empty() && r.job.empty())
            result.usageError = A("--report needs a job file");
        if (result.usageError.empty() && r.record == 0)
            result.usageError = A("--report needs --record N");
        if (result.usageError.empty() && r.output.empty())
            result.usageError = A("--report needs --output FILE.pdf");
        result.action = result.usageError.empty() ? Arguments::Action::Report : Arguments::Action::UsageError;
        return result;
    }
    if (!result.unknownOption.empty())
        result.action = Arguments::Action::Unknown;
    return result;
}

wxString UsageText(const wxString& program) {
    return wxString::Format(
        wxString::FromUTF8("Usage: %s [OPTION] [FILE.kvr]\n"
                           "Companion program of the Vantor flow-and-pressure logger.\n"
                           "Opens the job file FILE.kvr at start, as \"Vorgang Öffnen\" "
                           "does; of several files the first.\n"
                           "\n"
                           "  -h, --help     show this help and exit\n"
                           "      --version  show the version and exit\n"
                           "\n"
                           "Usage: %s --report JOB.kvr --record N [--min-pressure P]\n"
                           "          [--tester NAME] --output OUT.pdf\n"
                           "Writes the hydrant test report of record N of the job file\n"
                           "(numbered from 1, as the record list shows them) as a PDF page\n"
                           "and prints its figures. P is in the record's pressure unit\n"
                           "(default 1.5 bar, 20 psi); NAME defaults to the tester of the\n"
                           "last report. Opens no window and needs no display.\n"
                           "Exit status: 0 report written, 1 the record cannot be\n"
                           "evaluated (nothing written), 2 usage or file error.\n"
                           "\n"
                           "The texts follow the desktop's language (LANGUAGE, LC_ALL,\n"
                           "LC_MESSAGES, LANG): LANGUAGE=en %s starts it in English;\n"
                           "German, or a language without a catalog, gives German.\n"),
        program, program, program);
}

wxString VersionText() {
    return A("ZPM 4.8\n");
}

}  // namespace commandline
