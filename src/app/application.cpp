#include "app/application.h"
#include "data/translate.h"

#include "app/character_set.h"
#include "app/command_line.h"
#include "app/language.h"
#include "app/single_instance.h"
#include "charts/report_command_line.h"
#include "mainframe/main_frame.h"
#include "resources/pictures.h"

#include <wx/filename.h>
#include <wx/stdpaths.h>

#include <wx/init.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

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

// The toolkit without its windows, for the report from the command line: no display is needed.
class ReportApp : public wxAppConsole {
public:
    bool OnInit() override { return true; }
    int OnRun() override { return 0; }
};

// --report and its usage errors: answered here, without a window. Other outcomes: -1.
int AnswerReport(const commandline::Arguments& args, const wxString& argv0, int argc, wchar_t** argv) {
    using Action = commandline::Arguments::Action;
    const wxString program = ProgramName(argv0);
    if (args.action == Action::UsageError) {
        std::fputs(wxString::Format(wxString::FromAscii("%s: %s\nTry '%s --help'.\n"), program,
                                    args.usageError, program)
                       .utf8_str(),
                   stderr);
        return 2;
    }
    if (args.action != Action::Report)
        return -1;
    wxApp::SetInstance(new ReportApp);
    wxInitializer toolkit(argc, argv);
    if (!toolkit.IsOk()) {
        std::fputs((program + wxString::FromAscii(": the toolkit did not start\n")).utf8_str(), stderr);
        return 2;
    }
    language::Install(wxStandardPaths::Get().GetExecutablePath());
    return report::RunFromCommandLine(args.report, program, std::cout, std::cerr);
}

}  // namespace

// The toolkit's entry point, preceded by the answers that need no display.
int main(int argc, char** argv) {
    // A file name with umlauts must survive a start without a locale.
    charset::UseUtf8WhenUnset();
    // The arguments are converted here, in the character set now in force, and handed to the
    // toolkit as they are: its own conversion of argv takes the character set it found before
    // main and reads "Prüfung.kvr" as "PrÃ¼fung.kvr" after a start without a locale.
    std::vector<std::wstring> wide;
    for (int i = 0; i < argc; ++i)
        wide.push_back(wxString(argv[i], wxConvWhateverWorks).ToStdWstring());
    std::vector<wxString> args(wide.begin() + (argc > 0 ? 1 : 0), wide.end());
    const commandline::Arguments parsed = commandline::Parse(args);
    const wxString argv0 = argc > 0 ? wxString(wide.front()) : wxString();
    if (AnswerInformation(parsed, argv0))
        return 0;
    std::vector<wchar_t*> wideArgv;
    for (std::wstring& w : wide)
        wideArgv.push_back(w.data());
    wideArgv.push_back(nullptr);
    int wideArgc = argc;
    if (const int status = AnswerReport(parsed, argv0, wideArgc, wideArgv.data()); status >= 0)
        return status;
    const int status = wxEntry(wideArgc, wideArgv.data());
    return Application::handedOver ? 0 : status;
}

bool Application::handedOver = false;

Application::Application() = default;
Application::~Application() = default;

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
    // A second start hands its job files to the program already running and ends.
    instance = std::make_unique<SingleInstance>(wxString::FromUTF8(ZPM_PROGRAM_NAME));
    if (!instance->First([this](const std::vector<wxString>& files) {
            if (auto* main = dynamic_cast<MainFrame*>(GetTopWindow()))
                main->OpenHandedOverFiles(files);
        })) {
        std::vector<wxString> absolute;
        for (const wxString& f : args.files) {
            wxFileName name(f);
            name.MakeAbsolute();
            absolute.push_back(name.GetFullPath());
        }
        handedOver = instance->HandOver(absolute);
        if (!handedOver)
            std::fputs(
                (ProgramName(argv[0]) + wxString::FromUTF8(": ZPM is running already but does not answer\n"))
                    .utf8_str(),
                stderr);
        return false;
    }
    InstallUsbBus();
    // The window's texts in the desktop's language; German when ZPM has no catalog for it.
    language::Install(wxStandardPaths::Get().GetExecutablePath());
    auto* frame = new MainFrame(Tr("Unbennant"), wxDefaultPosition, wxSize(440, 440));
    frame->SetIcons(pictures::AppIcons());
    frame->Show(true);
    SetTopWindow(frame);
    if (!args.files.empty())
        frame->OpenJobFile(args.files.front());
    // Once the window is up: live recordings a crash left behind join what was opened.
    frame->CallAfter(&MainFrame::OfferRecovery);
    return true;
}
