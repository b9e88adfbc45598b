#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

enum class AtomicWriteResult {
    Ok,
    CannotOpen,   // the target is no regular file, is write-protected, or no file can be made beside it
    WriteFailed,  // writing, flushing or the final rename failed
};

// Writes a file so that the previous one survives every failure: the content goes to a temporary
// file beside the target, is flushed to disk, and only then renamed over the target.
// The file keeps its identity: a symbolic link is followed and its target written (the link stays
// a link), permission bits and owner of an existing file are kept. An existing target that is not
// a regular file, or that is write-protected, is refused and left as it is (also for root).
AtomicWriteResult WriteFileAtomically(const std::string& path,
                                      const std::function<bool(std::ostream&)>& writer);
AtomicWriteResult WriteFileAtomically(const std::string& path, const std::string& content);

// The file a write to path lands in: symbolic links of the last component followed (relative
// ones from the link's folder), even to a target that does not exist yet.
std::string ResolveLinkTarget(const std::string& path);

// Makes a folder and the folders above it that are missing, private to the user (0700), as the
// desktop's base folders are to be made. Quietly: true when the folder is there afterwards.
bool MakeFolders(const std::string& path);

// A file opened for reading only when it is a regular file (after following links). A FIFO, a
// directory or a device is refused at once, without blocking on it.
class RegularFileReader {
public:
    explicit RegularFileReader(const std::string& path);
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader&) = delete;
    RegularFileReader& operator=(const RegularFileReader&) = delete;

    bool IsOpen() const { return stream_ != nullptr; }
    std::istream& Stream() { return *stream_; }

private:
    std::unique_ptr<std::streambuf> buf_;
    std::unique_ptr<std::istream> stream_;
};
