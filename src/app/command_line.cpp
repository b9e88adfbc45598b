#include "app/command_line.h"

namespace commandline {

namespace {
wxString A(const char* text) {
    return wxString::FromAscii(text);
}
}  // namespace

Arguments Parse(const std::vector<wxString>& args) {
    Arguments result;
    bool options = true;
    for (const wxString& arg : args) {
        if (options && arg == A("--")) {
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
    if (!result.unknownOption.empty())
        result.action = Arguments::Action::Unknown;
    return result;
}

wxString UsageText(const wxString& program) {
    return wxString::Format(wxString::FromUTF8("Usage: %s [OPTION] [FILE.kvr]\n"
                                               "Companion program of the Vantor flow-and-pressure logger.\n"
                                               "Opens the job file FILE.kvr at start, as \"Vorgang Öffnen\" "
                                               "does; of several files the first.\n"
                                               "\n"
                                               "  -h, --help     show this help and exit\n"
                                               "      --version  show the version and exit\n"),
                            program);
}

wxString VersionText() {
    return A("ZPM 4.8\n");
}

}  // namespace commandline
