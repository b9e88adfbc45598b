#pragma once

#include <wx/string.h>

#include <functional>
#include <memory>
#include <vector>

class wxSingleInstanceChecker;

// One program at a time per user: a second start hands the job files it was given to the program
// already running (which opens them as it opens dropped files) and ends. zpm and zpm-demo count
// apart, each by its own name: the demo has a logger of its own.
class SingleInstance {
public:
    // name: the program's own ("zpm", "zpm-demo"). The lock and the socket lie in the user's
    // runtime folder ($XDG_RUNTIME_DIR), or in the home folder without one.
    explicit SingleInstance(const wxString& name);
    ~SingleInstance();

    // True when this program is the only one: it then takes the files later starts hand over,
    // calling `open` with them on the window's thread (an empty list: just come to the front).
    bool First(std::function<void(const std::vector<wxString>&)> open);
    // For a later start: hands the files to the first program. False when it does not answer.
    bool HandOver(const std::vector<wxString>& files);

private:
    wxString lockName, lockFolder, socketPath;
    std::unique_ptr<wxSingleInstanceChecker> checker;
    struct Server;
    std::unique_ptr<Server> server;
};
