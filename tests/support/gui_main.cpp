// main() of the GUI test binaries: a fresh HOME, a wx application on the display that
// xvfb-run gives, wx asserts reported as test failures.
#include "support/gui_testing.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/utils.h>

#include <cstdlib>
#include <string>

namespace {

class TestApp : public wxApp {
public:
    bool OnInit() override { return true; }
    // Exceptions thrown by dialog expectations must reach the test, not end the program.
    bool OnExceptionInMainLoop() override { throw; }
};

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
    ADD_FAILURE_AT(file.utf8_str(), line)
        << "wx assert in " << func.utf8_string() << ": " << cond.utf8_string() << " " << msg.utf8_string();
}

// Outside wxTEST_DIALOG a modal dialog would wait for a user who never comes: fail instead.
class FailOnUnexpectedDialog : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override {
        if (RealModalDialogs::Allowed())
            return wxID_NONE;
        throw std::runtime_error("unexpected modal dialog \"" + dialog->GetTitle().utf8_string() + "\"");
    }
    void Exit(wxDialog*) override {}
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);

    // Every run gets its own HOME, so the settings file of one run never leaks into another.
    std::string tmpl = "/tmp/zpm-test-home-XXXXXX";
    if (!mkdtemp(tmpl.data()))
        return 2;
    setenv("HOME", tmpl.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (tmpl + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (tmpl + "/.local/share").c_str(), 1);

    // The toolkit says why it cannot start on stderr. A display that refuses the first
    // connection while the suite starts several X servers side by side gets a second try.
    wxLog::SetActiveTarget(new wxLogStderr);
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0)
            wxMilliSleep(500);
        wxApp::SetInstance(new TestApp);
        started = wxEntryStart(argc, argv);
        if (!started)
            fprintf(stderr, "cannot start wx on DISPLAY=%s (attempt %d)\n",
                    getenv("DISPLAY") ? getenv("DISPLAY") : "", attempt + 1);
    }
    delete wxLog::SetActiveTarget(nullptr);
    if (!started || !wxTheApp->CallOnInit()) {
        fprintf(stderr, "cannot start wx (is there a display?)\n");
        return 2;
    }
    wxSetAssertHandler(FailOnAssert);
    wxInitAllImageHandlers();
    FailOnUnexpectedDialog unexpectedDialogs;
    unexpectedDialogs.Register();
    int rc = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    std::string cleanup = "rm -rf '" + tmpl + "'";
    if (std::system(cleanup.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", tmpl.c_str());
    return rc;
}
