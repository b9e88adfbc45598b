#include "files/save_file.h"

#include "app/atomic_file.h"

std::string FileSystemPath(const wxString& path) {
    const wxCharBuffer buf = path.fn_str();
    return buf.data() ? std::string(buf.data(), buf.length()) : std::string();
}

SaveResult SaveFileSafely(const wxString& path, const std::function<bool(std::ostream&)>& writer) {
    switch (WriteFileAtomically(FileSystemPath(path), writer)) {
        case AtomicWriteResult::Ok:
            return SaveResult::Ok;
        case AtomicWriteResult::CannotOpen:
            return SaveResult::CannotOpen;
        case AtomicWriteResult::WriteFailed:
            break;
    }
    return SaveResult::WriteFailed;
}
