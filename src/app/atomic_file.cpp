#include "app/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>

#include <ext/stdio_filebuf.h>

namespace {

// Permissions of a new file as the user's umask gives them (mkstemp would make it 0600).
mode_t NewFileMode(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

AtomicWriteResult WriteFileAtomically(const std::string& path,
                                      const std::function<bool(std::ostream&)>& writer) {
    std::string tmpl = path + ".XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return AtomicWriteResult::CannotOpen;
    ::fchmod(fd, NewFileMode(path));
    bool ok;
    {
        __gnu_cxx::stdio_filebuf<char> buf(fd, std::ios::out, 1 << 16);
        std::ostream out(&buf);
        ok = writer(out);
        out.flush();
        ok = ok && out.good();
        ok = buf.pubsync() == 0 && ok;
        ok = ::fsync(fd) == 0 && ok;
        // buf closes fd when it goes out of scope
    }
    if (ok && std::rename(tmpl.c_str(), path.c_str()) == 0)
        return AtomicWriteResult::Ok;
    ::unlink(tmpl.c_str());
    return AtomicWriteResult::WriteFailed;
}

AtomicWriteResult WriteFileAtomically(const std::string& path, const std::string& content) {
    return WriteFileAtomically(path, [&](std::ostream& out) {
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        return bool(out);
    });
}
