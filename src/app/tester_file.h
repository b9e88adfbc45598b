#pragma once

#include <wx/string.h>

#include <string>

// The tester's name for the next hydrant test report, remembered in a small file of its own
// beside the settings file (which keeps its seven lines): one line of UTF-8.
namespace testerfile {

inline constexpr const char* FileName = "pruefer.txt";

// $XDG_CONFIG_HOME/zpm/pruefer.txt (~/.config/zpm/pruefer.txt).
std::string DefaultPath();
// Empty when there is no readable file.
wxString Load(const std::string& path);
// Written safely, the folder made when missing. False when nothing could be written.
bool Save(const std::string& path, const wxString& tester);

}  // namespace testerfile
