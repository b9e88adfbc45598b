#include "app/application.h"

#include "app/command_line.h"
#include "mainframe/main_frame.h"
#include "resources/pictures.h"

#include <wx/filename.h>

#include <cstdio>

wxIMPLEMENT_APP_NO_MAIN(Application);

namespace {

wxString ProgramName(const wxString& argv0) {
    return wxFileName(argv0).GetFullName();
}

// --help and --version: printed, and the program ends with status 0. Other outcomes: nothing.
bool AnswerInformation(const commandline::Arguments& args, const wxString& argv0) {
    using Action = commandline::Arguments::Action;
    if (args.action == Action::Help)
        std::fputs(commandline::UsageText(ProgramName(argv0)).utf8_str(), stdout);
    else if (args.action == Action::Version)
        std::fputs(commandline::VersionText().utf8_str(), stdout);
    else
        return false;
    std::fflush(stdout);
    return true;
}

}  // namespace

// The toolkit's entry point, preceded by the answers that need no display.
int main(int argc, char** argv) {
    std::vector<wxString> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(wxString::FromUTF8(argv[i]));
    if (AnswerInformation(commandline::Parse(args), wxString::FromUTF8(argv[0])))
        return 0;
    return wxEntry(argc, argv);
}

bool Application::OnInit() {
    // The toolkit has taken its own options (--display and the like) out of argv by now.
    std::vector<wxString> given;
    for (int i = 1; i < argc; ++i)
        given.push_back(argv[i]);
    const commandline::Arguments args = commandline::Parse(given);
    if (args.action == commandline::Arguments::Action::Unknown) {
        const wxString program = ProgramName(argv[0]);
        std::fputs(wxString::Format(wxString::FromAscii("%s: unknown option %s\nTry '%s --help'.\n"), program,
                                    args.unknownOption, program)
                       .utf8_str(),
                   stderr);
        return false;
    }
    InstallUsbBus();
    auto* frame = new MainFrame(wxString::FromUTF8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
    frame->SetIcons(pictures::AppIcons());
    frame->Show(true);
    SetTopWindow(frame);
    if (!args.files.empty())
        frame->OpenJobFile(args.files.front());
    // Once the window is up: live recordings a crash left behind join what was opened.
    frame->CallAfter(&MainFrame::OfferRecovery);
    return true;
}
