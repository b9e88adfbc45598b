#pragma once

#include <functional>
#include <ostream>
#include <string>

enum class AtomicWriteResult {
    Ok,
    CannotOpen,   // the temporary file could not be created
    WriteFailed,  // writing, flushing or the final rename failed
};

// Writes a file so that the previous one survives every failure: the content goes to a temporary
// file beside the target, is flushed to disk, and only then renamed over the target.
AtomicWriteResult WriteFileAtomically(const std::string& path,
                                      const std::function<bool(std::ostream&)>& writer);
AtomicWriteResult WriteFileAtomically(const std::string& path, const std::string& content);
