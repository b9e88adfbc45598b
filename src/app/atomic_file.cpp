#include "app/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include <ext/stdio_filebuf.h>

namespace {

// Permissions of a new file as the user's umask gives them (mkstemp would make it 0600).
mode_t NewFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

constexpr int kMaxLinks = 40;  // as the kernel allows in one path

}  // namespace

std::string ResolveLinkTarget(const std::string& path) {
    std::string p = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return p;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(p.c_str(), target.data(), target.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= target.size())
            return p;
        target.resize(static_cast<std::size_t>(n));
        if (target.front() != '/') {
            const std::size_t slash = p.rfind('/');
            if (slash != std::string::npos)
                target = p.substr(0, slash + 1) + target;
        }
        p = target;
    }
    return p;  // a loop: the write below finds a link and refuses it
}

bool MakeFolders(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) == 0)
        return !path.empty() && S_ISDIR(st.st_mode);
    const std::size_t slash = path.find_last_of('/', path.find_last_not_of('/'));
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash)))
        return false;
    return ::mkdir(path.c_str(), 0700) == 0 ||
           (errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

AtomicWriteResult WriteFileAtomically(const std::string& path,
                                      const std::function<bool(std::ostream&)>& writer) {
    if (path.empty())
        return AtomicWriteResult::CannotOpen;
    const std::string target = ResolveLinkTarget(path);
    struct stat st {};
    const bool exists = ::lstat(target.c_str(), &st) == 0;
    if (exists) {
        // Writing in place would fail on these; a rename would silently put a file in their stead.
        // Root passes access(), so a file without any write bit counts as protected too.
        if (!S_ISREG(st.st_mode) || ::access(target.c_str(), W_OK) != 0 || (st.st_mode & 0222) == 0)
            return AtomicWriteResult::CannotOpen;
    }
    std::string tmpl = target + ".XXXXXX";
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return AtomicWriteResult::CannotOpen;
    if (exists) {
        ::fchmod(fd, st.st_mode & 07777);
        if (st.st_uid != ::geteuid() || st.st_gid != ::getegid())
            (void)!::fchown(fd, st.st_uid, st.st_gid);  // only root can give it away; others keep theirs
    } else {
        ::fchmod(fd, NewFileMode());
    }
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
    if (ok && std::rename(tmpl.c_str(), target.c_str()) == 0)
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

RegularFileReader::RegularFileReader(const std::string& path) {
    if (path.empty())
        return;
    // Non-blocking, so that opening a FIFO without a writer returns at once instead of waiting.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto buf = std::make_unique<__gnu_cxx::stdio_filebuf<char>>(fd, std::ios::in, 1 << 16);
    stream_ = std::make_unique<std::istream>(buf.get());
    buf_ = std::move(buf);
}

RegularFileReader::~RegularFileReader() = default;
