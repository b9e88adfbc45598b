#pragma once

// Harness of the GUI tests. Include this header (not <wx/testing.h>) in GUI tests.

#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/string.h>
#include <wx/window.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// An unexpected or wrong modal dialog throws instead of opening an assert box, so the test fails.
#include <wx/modalhook.h>
class ZpmTestingModalHook;
#define wxTEST_DIALOG_HOOK_CLASS ZpmTestingModalHook
#include <wx/testing.h>

class ZpmTestingModalHook : public wxTestingModalHook {
public:
    using wxTestingModalHook::wxTestingModalHook;

protected:
    void ReportFailure(const wxString& msg) override {
        throw std::runtime_error("dialog expectation failed: " + msg.utf8_string());
    }
};

// A message box (wxMessageBox or wxMessageDialog) with its exact text and caption; answers id.
#include <wx/msgdlg.h>
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
public:
    ExpectMessage(int answer, const wxString& message, const wxString& caption = wxString())
        : answer(answer), message(message), caption(caption) {}

protected:
    int OnInvoked(wxMessageDialog* dlg) const override {
        EXPECT_EQ(dlg->GetMessage().utf8_string(), message.utf8_string());
        if (!caption.empty()) {
            EXPECT_EQ(dlg->GetCaption().utf8_string(), caption.utf8_string());
        }
        return answer;
    }
    wxString GetDefaultDescription() const override { return wxString::FromAscii("message box: ") + message; }

private:
    int answer;
    wxString message, caption;
};

// Collects wxLogError / wxLogMessage / wxLogWarning instead of showing boxes at idle time.
class LogCapture : public wxLog {
public:
    struct Entry {
        wxLogLevel level;
        wxString text;
    };
    LogCapture();
    ~LogCapture() override;

    std::vector<wxString> Errors() const;
    std::vector<wxString> Messages() const;  // wxLogMessage and wxLogInfo level
    const std::vector<Entry>& All() const { return entries; }
    void Clear() { entries.clear(); }

protected:
    void DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo& info) override;

private:
    std::vector<Entry> entries;
    wxLog* previous;
};

// Inside its scope modal dialogs run for real instead of failing the test: for toolkit operations
// that go through a dialog that shows nothing, such as printing to a file without a prompt.
class RealModalDialogs {
public:
    RealModalDialogs();
    ~RealModalDialogs();
    static bool Allowed();
};

// Delivers an event to a control as the toolkit would raise it there (a spin, a date picked).
inline void Send(wxWindow* control, wxEvent& event) {
    event.SetEventObject(control);
    control->GetEventHandler()->ProcessEvent(event);
}
// A click on a button, as its command event.
inline void Press(wxWindow* button) {
    wxCommandEvent e(wxEVT_BUTTON, button->GetId());
    Send(button, e);
}

// Runs the event loop until pred() holds or timeoutMs passes; returns pred().
bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 5000);
// Processes pending events for a short while (bounded, no fixed sleep when idle).
void PumpEvents(int rounds = 5);
// Destroys a top-level window now (not at some later idle time).
void DestroyNow(wxWindow* window);
// The window's client area as the display shows it now: the pixels a user sees, read back from
// the X server's screen after the pending paints (its top-level window is raised first, so
// nothing else covers it). An empty image, and a test failure, when the window does not come on
// screen or is not painted within 2 s.
wxImage ScreenImage(wxWindow* window);
// The same, read again (after a repaint, at most three times) while it differs from expected: a
// window of another test running on the same display may pass over this one for a moment.
wxImage ScreenImageAfterPaint(wxWindow* window, const wxImage& expected);
// Pixels that differ in any channel by more than tolerance; sizes that differ count every pixel.
int DifferingPixels(const wxImage& a, const wxImage& b, int tolerance = 0);

// Path helpers: the fresh HOME of this test binary, and the source tree.
std::string TestHome();
std::string SourceDir();
std::string SettingsFilePath();
// Where earlier versions kept the settings: the home folder itself.
std::string LegacySettingsFilePath();
// Where live recordings keep their recovery journals.
std::string JournalFolderPath();
// Writes the settings file with the given seven lines.
void WriteSettingsFile(const std::string& content);
std::string ReadTextFile(const std::string& path);

class MainFrame;

// Builds a MainFrame for a test, with the tips switched off by the settings file unless a test
// writes its own settings before SetUp; captures the log; destroys the frame afterwards.
class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the frame (SetUp does so unless createInSetUp is false).
    MainFrame* CreateFrame();
    // Sends a command event with the given id to the frame, as a button or menu item would.
    void Command(int id, wxEventType type = 0);

    bool createInSetUp = true;
    std::string settingsContent = "1\n98\n0\n0\n0\n0\n0\n";
    MainFrame* frame = nullptr;
    std::unique_ptr<LogCapture> log;
};
