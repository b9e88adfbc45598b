#pragma once

// Small helpers every kind of test shares (headless and GUI): texts and a scratch folder.

#include <wx/string.h>

#include <sys/resource.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Shorthand for the program's texts in tests: UTF-8 literal to wxString, and back.
inline wxString U8(const char* text) {
    return wxString::FromUTF8(text);
}
inline std::vector<std::string> Utf8(const std::vector<wxString>& texts) {
    std::vector<std::string> out;
    for (const wxString& t : texts)
        out.push_back(t.utf8_string());
    return out;
}

// The bytes of a file, empty when it cannot be read.
inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A fresh folder of one test's own, removed with all it holds when the test is done.
struct ScratchDir {
    ScratchDir() {
        std::string name = (std::filesystem::temp_directory_path() / "zpm-test-XXXXXX").string();
        path = ::mkdtemp(name.data());
    }
    ~ScratchDir() { std::filesystem::remove_all(path); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    // A path in the folder as the program takes it.
    wxString Path(const char* name) const { return wxString::FromUTF8((path / name).string()); }
    std::filesystem::path path;
};

// While it lives no file of this process grows beyond `bytes`, as on a full disk (for root too):
// a write past it fails instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uintmax_t bytes) : handler(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &before);
        rlimit small = before;
        small.rlim_cur = static_cast<rlim_t>(bytes);
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*handler)(int);
    rlimit before{};
};
