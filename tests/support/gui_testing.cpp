#include "support/gui_testing.h"

#include "mainframe/main_frame.h"

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/image.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <gtk/gtk.h>

#include <algorithm>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
int realModalDialogs = 0;
}  // namespace

RealModalDialogs::RealModalDialogs() {
    ++realModalDialogs;
}
RealModalDialogs::~RealModalDialogs() {
    --realModalDialogs;
}
bool RealModalDialogs::Allowed() {
    return realModalDialogs > 0;
}

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

wxImage ScreenImage(wxWindow* window) {
    if (!window)
        return wxImage();
    // Shown and sized first: a window the window system has not mapped yet has nothing to show.
    if (!PumpUntil([&] { return window->IsShownOnScreen() && window->GetClientSize().x > 0; }, 2000)) {
        ADD_FAILURE() << "the window is not on screen after 2 s";
        return wxImage();
    }
    if (auto* top = dynamic_cast<wxTopLevelWindow*>(wxGetTopLevelParent(window)))
        top->Raise();
    PumpEvents();
    // The toolkit draws on its frame clock: ask for a frame and wait until it has been painted,
    // then until the display has taken every drawing request.
    auto* widget = static_cast<GtkWidget*>(window->GetHandle());
    if (GdkFrameClock* clock = widget ? gtk_widget_get_frame_clock(widget) : nullptr) {
        int painted = 0;
        const gulong handler = g_signal_connect_swapped(clock, "after-paint",
                                                        G_CALLBACK(+[](int* count) { ++*count; }), &painted);
        gtk_widget_queue_draw(widget);
        const bool drawn = PumpUntil([&] { return painted > 0; }, 2000);
        g_signal_handler_disconnect(clock, handler);
        if (!drawn) {
            ADD_FAILURE() << "the window was not painted within 2 s: the screen would show an older picture";
            return wxImage();
        }
    }
    gdk_display_sync(gdk_display_get_default());
    // The root window holds what the screen shows, whatever window drew it.
    const wxPoint at = window->ClientToScreen(wxPoint(0, 0));
    const wxSize size = window->GetClientSize();
    if (size.x <= 0 || size.y <= 0)
        return wxImage();
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), at.x, at.y, size.x, size.y);
    if (!pixbuf)
        return wxImage();
    wxImage image(size.x, size.y, false);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    for (int y = 0; y < size.y; ++y)
        for (int x = 0; x < size.x; ++x) {
            const guchar* p = pixels + y * stride + x * channels;
            image.SetRGB(x, y, p[0], p[1], p[2]);
        }
    g_object_unref(pixbuf);
    return image;
}

wxImage ScreenImageAfterPaint(wxWindow* window, const wxImage& expected) {
    wxImage screen = ScreenImage(window);
    for (int retry = 0; retry < 3 && DifferingPixels(screen, expected) != 0; ++retry) {
        window->Refresh(false);
        window->Update();
        PumpEvents();
        screen = ScreenImage(window);
    }
    return screen;
}

int DifferingPixels(const wxImage& a, const wxImage& b, int tolerance) {
    if (!a.IsOk() || !b.IsOk() || a.GetSize() != b.GetSize())
        return std::max(a.IsOk() ? a.GetWidth() * a.GetHeight() : 0,
                        b.IsOk() ? b.GetWidth() * b.GetHeight() : 1);
    int n = 0;
    const unsigned char* pa = a.GetData();
    const unsigned char* pb = b.GetData();
    for (int i = 0; i < a.GetWidth() * a.GetHeight(); ++i, pa += 3, pb += 3)
        n += std::abs(pa[0] - pb[0]) > tolerance || std::abs(pa[1] - pb[1]) > tolerance ||
             std::abs(pa[2] - pb[2]) > tolerance;
    return n;
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
