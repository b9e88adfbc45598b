#include "app/single_instance.h"

#include <wx/filename.h>
#include <wx/ipc.h>
#include <wx/snglinst.h>
#include <wx/socket.h>
#include <wx/utils.h>

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>

namespace {

const wxString Topic = wxString::FromUTF8("open");

// The file names of one hand-over, one a line (a file name holds no line end that matters here:
// such a name is not a job file the desktop hands out).
wxString Join(const std::vector<wxString>& files) {
    wxString text;
    for (const wxString& f : files)
        text += f + wxString::FromUTF8("\n");
    return text;
}

std::vector<wxString> Split(const wxString& text) {
    std::vector<wxString> files;
    for (const wxString& line : wxSplit(text, '\n', '\0'))
        if (!line.empty())
            files.push_back(line);
    return files;
}

class Connection : public wxConnection {
public:
    explicit Connection(std::function<void(const std::vector<wxString>&)>& open) : open(open) {}

    bool OnExecute(const wxString&, const void* data, size_t size, wxIPCFormat) override {
        const wxString text = wxString::FromUTF8(static_cast<const char*>(data), size);
        // The files open after the hand-over has been answered: a question asked now would hold
        // the other start until the user answers it.
        wxTheApp->CallAfter([open = open, files = Split(text)] { open(files); });
        return true;
    }

private:
    std::function<void(const std::vector<wxString>&)>& open;
};

}  // namespace

struct SingleInstance::Server : public wxServer {
    explicit Server(std::function<void(const std::vector<wxString>&)> open) : open(std::move(open)) {}

    wxConnectionBase* OnAcceptConnection(const wxString& topic) override {
        return topic == Topic ? new Connection(open) : nullptr;
    }

    std::function<void(const std::vector<wxString>&)> open;
};

SingleInstance::SingleInstance(const wxString& name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') {
        lockFolder = wxString::FromUTF8(runtime);
        lockName = name + wxString::FromUTF8(".lock");
        socketPath = lockFolder + wxString::FromUTF8("/") + name + wxString::FromUTF8(".socket");
    } else {
        lockFolder = wxFileName::GetHomeDir();
        lockName = wxString::FromUTF8(".") + name + wxString::FromUTF8("-instance");
        socketPath = lockFolder + wxString::FromUTF8("/.") + name + wxString::FromUTF8("-socket");
    }
}

SingleInstance::~SingleInstance() {
    server.reset();
    if (checker)
        ::unlink(socketPath.utf8_str());
}

bool SingleInstance::First(std::function<void(const std::vector<wxString>&)> open) {
    checker = std::make_unique<wxSingleInstanceChecker>();
    // Without a lock (a read-only home folder) the program runs as if it were the only one.
    if (!checker->Create(lockName, lockFolder)) {
        checker.reset();
        return true;
    }
    if (checker->IsAnotherRunning()) {
        checker.reset();
        return false;
    }
    // This program holds the lock: a socket there is one a program that died left behind.
    ::unlink(socketPath.utf8_str());
    wxSocketBase::Initialize();
    server = std::make_unique<Server>(std::move(open));
    if (!server->Create(socketPath))
        server.reset();  // the files of later starts then cannot come, but this program runs
    return true;
}

bool SingleInstance::HandOver(const std::vector<wxString>& files) {
    wxSocketBase::Initialize();
    wxClient client;
    std::unique_ptr<wxConnectionBase> connection(
        client.MakeConnection(wxString::FromUTF8("localhost"), socketPath, Topic));
    if (!connection)
        return false;
    const std::string text = Join(files).utf8_string();
    const bool handed = connection->Execute(text.data(), text.size());
    connection->Disconnect();
    return handed;
}
