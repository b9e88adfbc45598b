#include "files/save_file.h"

#include "app/atomic_file.h"

#include <sys/stat.h>
#include <unistd.h>

std::string FileSystemPath(const wxString& path) {
    const wxCharBuffer buf = path.fn_str();
    return buf.data() ? std::string(buf.data(), buf.length()) : std::string();
}

SaveResult SaveFileSafely(const wxString& path, const std::function<bool(std::ostream&)>& writer) {
    const std::string fsPath = FileSystemPath(path);
    if (fsPath.empty())
        return SaveResult::CannotOpen;
    // Opening for writing would fail on these; the rename would silently replace a protected file.
    struct stat st {};
    if (::stat(fsPath.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || ::access(fsPath.c_str(), W_OK) != 0))
        return SaveResult::CannotOpen;
    switch (WriteFileAtomically(fsPath, writer)) {
        case AtomicWriteResult::Ok:
            return SaveResult::Ok;
        case AtomicWriteResult::CannotOpen:
            return SaveResult::CannotOpen;
        case AtomicWriteResult::WriteFailed:
            break;
    }
    return SaveResult::WriteFailed;
}
