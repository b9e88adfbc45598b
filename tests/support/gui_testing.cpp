#include "support/gui_testing.h"

#include "mainframe/main_frame.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
int realModalDialogs = 0;
}  // namespace

RealModalDialogs::RealModalDialogs() { ++realModalDialogs; }
RealModalDialogs::~RealModalDialogs() { --realModalDialogs; }
bool RealModalDialogs::Allowed() { return realModalDialogs > 0; }

LogCapture::LogCapture() {
    previous = wxLog::SetActiveTarget(this);
}

LogCapture::~LogCapture() {
    wxLog::SetActiveTarget(previous);
}

void LogCapture::DoLogRecord(wxLogLevel level, const wxString& msg, const wxLogRecordInfo&) {
    entries.push_back({level, msg});
}

std::vector<wxString> LogCapture::Errors() const {
    std::vector<wxString> out;
    for (const auto& e : entries)
        if (e.level == wxLOG_Error || e.level == wxLOG_FatalError)
            out.push_back(e.text);
    return out;
}

std::vector<wxString> LogCapture::Messages() const {
    std::vector<wxString> out;
    for (const auto& e : entries)
        if (e.level == wxLOG_Message || e.level == wxLOG_Info)
            out.push_back(e.text);
    return out;
}

bool PumpUntil(const std::function<bool()>& pred, int timeoutMs) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > until)
            return pred();
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        if (!pred())
            wxMilliSleep(2);
    }
    return true;
}

void PumpEvents(int rounds) {
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->Yield(true);
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

void DestroyNow(wxWindow* window) {
    if (!window)
        return;
    window->Destroy();
    for (int i = 0; i < 50 && wxPendingDelete.Member(window); ++i)
        wxTheApp->ProcessIdle();
}

std::string TestHome() {
    const char* home = std::getenv("HOME");
    return home ? home : "/tmp";
}

std::string SourceDir() {
    const char* dir = std::getenv("ZPM_SOURCE_DIR");
    return dir ? dir : ".";
}

std::string SettingsFilePath() {
    return TestHome() + "/.config/zpm/zpmv48.ini";  // main() points XDG_CONFIG_HOME at HOME/.config
}

std::string LegacySettingsFilePath() {
    return TestHome() + "/zpmv48.ini";
}

std::string JournalFolderPath() {
    return TestHome() + "/.local/share/zpm";
}

void WriteSettingsFile(const std::string& content) {
    std::filesystem::create_directories(TestHome() + "/.config/zpm");
    std::ofstream(SettingsFilePath(), std::ios::trunc) << content;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void MainFrameTest::SetUp() {
    log = std::make_unique<LogCapture>();
    MainFrame::splashEnabled = false;
    if (createInSetUp)
        CreateFrame();
}

MainFrame* MainFrameTest::CreateFrame() {
    WriteSettingsFile(settingsContent);
    frame = new MainFrame(wxString::FromUTF8("Unbennant"), wxDefaultPosition, wxSize(440, 440));
    frame->Show();
    PumpEvents();
    return frame;
}

void MainFrameTest::TearDown() {
    if (frame) {
        frame->SetSaved(true);  // no close question while tearing down
        DestroyNow(frame);
        frame = nullptr;
    }
    PumpEvents(2);
    log.reset();
}

void MainFrameTest::Command(int id, wxEventType type) {
    wxCommandEvent ev(type ? type : wxEventType(wxEVT_MENU), id);
    ev.SetEventObject(frame);
    frame->ProcessWindowEvent(ev);
}
