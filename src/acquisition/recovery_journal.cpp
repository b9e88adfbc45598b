#include "acquisition/recovery_journal.h"
#include "data/translate.h"

#include "app/atomic_file.h"

#include <wx/filename.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace recovery {

namespace {

const char Magic[] = "ZPM-LIVE 1";

std::uint32_t Crc32(const char* data, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// One line: the payload, a tab, its checksum as eight hex digits, a line end. The payload never
// holds a tab or a line end (texts are escaped).
std::string Line(const std::string& payload) {
    char crc[16];
    std::snprintf(crc, sizeof crc, "\t%08x\n", static_cast<unsigned>(Crc32(payload.data(), payload.size())));
    return payload + crc;
}

std::string Escape(const wxString& text) {
    const std::string utf8 = text.utf8_string();
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<wxString> Unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += s[i];
            continue;
        }
        if (++i == s.size())
            return std::nullopt;
        switch (s[i]) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            default:
                return std::nullopt;
        }
    }
    const wxString text = wxString::FromUTF8(out.data(), out.size());
    if (text.empty() && !out.empty())
        return std::nullopt;  // not UTF-8
    return text;
}

std::string Number(long long v) {
    char buf[24];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

std::string Number(float v) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// Reads blank-separated numbers from the front of s; false unless each one is whole and in range.
template <typename T>
bool Take(std::string_view& s, T& value, bool last = false) {
    const char* end = s.data() + s.size();
    auto [ptr, ec] = std::from_chars(s.data(), end, value);
    if (ec != std::errc() || ptr == s.data())
        return false;
    s.remove_prefix(static_cast<std::size_t>(ptr - s.data()));
    if (last)
        return s.empty();
    if (s.empty() || s.front() != ' ')
        return false;
    s.remove_prefix(1);
    return true;
}

std::vector<std::string> TextLines(const RecordTexts& now, const RecordTexts& before, bool all) {
    std::vector<std::string> lines;
    if (all || now.title != before.title)
        lines.push_back(Line("title " + Escape(now.title)));
    if (all || now.subtitle != before.subtitle)
        lines.push_back(Line("subtitle " + Escape(now.subtitle)));
    if (all || now.note != before.note || now.noteX != before.noteX || now.noteY != before.noteY)
        lines.push_back(Line("note " + Number(static_cast<long long>(now.noteX)) + " " +
                             Number(static_cast<long long>(now.noteY)) + " " + Escape(now.note)));
    if (all || now.targetFlow != before.targetFlow)
        lines.push_back(Line("target " + Number(now.targetFlow)));
    return lines;
}

bool WriteAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void SyncFolder(const std::string& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

RecordTexts TextsOf(const Storage& record) {
    return RecordTexts{record.Title(), record.Subtitle(), record.NoteText(),
                       record.NoteX(), record.NoteY(),    record.TargetFlow()};
}

std::string JournalFolder() {
    // The toolkit keeps its data folder at ~/.NAME whatever its file layout; the desktop's place
    // for a program's data is $XDG_DATA_HOME (when it names an absolute path), else ~/.local/share.
    const char* env = std::getenv("XDG_DATA_HOME");
    std::string base =
        env && env[0] == '/' ? std::string(env) : wxFileName::GetHomeDir().utf8_string() + "/.local/share";
    return base + "/zpm";
}

namespace {

// Reads a journal line by line as its bytes come, in pieces of any size; stops at the first line
// that is not whole and right. Memory grows with the record, not with the file: a broken file
// without line ends is damage after MaxLine bytes.
class Reader {
public:
    static constexpr std::size_t MaxLine = std::size_t{1} << 20;

    // False once the reader has stopped (a bad line): the rest of the file is not needed.
    bool Feed(std::string_view bytes) {
        while (!stopped && !bytes.empty()) {
            const std::size_t end = bytes.find('\n');
            if (end == std::string_view::npos) {
                carry.append(bytes);
                if (carry.size() > MaxLine)
                    stopped = true;
                return !stopped;
            }
            std::string_view line = bytes.substr(0, end);
            if (!carry.empty()) {
                carry.append(line);
                line = carry;
            }
            if (!Line(line)) {
                stopped = true;
                return false;
            }
            c.validLength += line.size() + 1;
            carry.clear();
            bytes.remove_prefix(end + 1);
        }
        return !stopped;
    }

    Content Finish(std::size_t totalBytes) {
        if (lineNo <= 3)
            c.record.reset();  // the settings and the title at the top are incomplete
        c.damaged = c.validLength != totalBytes;
        if (c.record) {
            c.record->SetTitle(c.texts.title);
            c.record->SetSubtitle(c.texts.subtitle);
            c.record->SetNoteText(c.texts.note);
            c.record->SetNotePosition(c.texts.noteX, c.texts.noteY);
            c.record->SetTargetFlow(c.texts.targetFlow);
        }
        return std::move(c);
    }

private:
    bool Line(std::string_view line) {
        const std::size_t tab = line.rfind('\t');
        if (tab == std::string_view::npos || line.size() - tab != 9)
            return false;
        std::uint32_t crc = 0;
        const auto [ptr, ec] = std::from_chars(line.data() + tab + 1, line.data() + line.size(), crc, 16);
        std::string_view payload = line.substr(0, tab);
        if (ec != std::errc() || ptr != line.data() + line.size() ||
            crc != Crc32(payload.data(), payload.size()))
            return false;

        const std::size_t blank = payload.find(' ');
        const std::string_view kind = payload.substr(0, blank);
        std::string_view rest =
            blank == std::string_view::npos ? std::string_view() : payload.substr(blank + 1);
        bool ok = false;
        if (lineNo == 0) {
            ok = payload == Magic;
        } else if (lineNo == 1) {
            if (kind == "start") {
                const std::optional<wxString> text = Unescape(rest);
                ok = text.has_value();
                if (ok)
                    dateText = *text;
            }
        } else if (lineNo == 2) {
            int intervalMs = 0, unitSystem = 0, flowUnit = 0, serial = 0;
            unsigned offset = 0, whole = 0, hundredths = 0, unit = 0;
            ok = kind == "record" && Take(rest, intervalMs) && Take(rest, unitSystem) &&
                 Take(rest, flowUnit) && Take(rest, offset) && Take(rest, whole) && Take(rest, hundredths) &&
                 Take(rest, unit) && Take(rest, serial, true) && intervalMs > 0 && offset < 256 &&
                 whole < 256 && hundredths < 256 && unit < 256;
            if (ok) {
                c.record.emplace(dateText, intervalMs, unitSystem, false, flowUnit, 0);
                c.record->SetPressureCalibration(
                    static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(whole),
                    static_cast<std::uint8_t>(hundredths), static_cast<std::uint8_t>(unit));
                c.record->SetSerialNumber(serial);
            }
        } else if (lineNo == 3) {
            const std::optional<wxString> text = kind == "title" ? Unescape(rest) : std::nullopt;
            ok = text.has_value();
            if (ok)
                c.texts.title = *text;
        } else if (kind == "s") {
            std::uint16_t flow = 0, pressure = 0;
            ok = Take(rest, flow) && Take(rest, pressure, true);
            if (ok)
                c.record->AddRawSample(flow, pressure);
        } else if (kind == "title" || kind == "subtitle") {
            const std::optional<wxString> text = Unescape(rest);
            ok = text.has_value();
            if (ok)
                (kind == "title" ? c.texts.title : c.texts.subtitle) = *text;
        } else if (kind == "note") {
            int x = 0, y = 0;
            ok = Take(rest, x) && Take(rest, y);
            const std::optional<wxString> text = ok ? Unescape(rest) : std::nullopt;
            ok = text.has_value();
            if (ok) {
                c.texts.note = *text;
                c.texts.noteX = x;
                c.texts.noteY = y;
            }
        } else if (kind == "target") {
            float f = 0;
            ok = Take(rest, f, true);
            if (ok)
                c.texts.targetFlow = f;
        }
        if (ok)
            ++lineNo;
        return ok;
    }

    Content c;
    wxString dateText;
    int lineNo = 0;
    std::string carry;  // the start of a line whose end has not come yet
    bool stopped = false;
};

}  // namespace

Content Parse(const std::string& bytes) {
    Reader reader;
    reader.Feed(bytes);
    return reader.Finish(bytes.size());
}

// ---- Journal ----

wxString NotProtectedText() {
    return Tr(
        "Die Wiederherstellungsdatei der Live-Aufzeichnung kann nicht geschrieben werden. Die Aufzeichnung "
        "läuft weiter, ist aber nicht gegen einen Absturz des Programms oder des Computers geschützt: "
        "speichern Sie sie, sobald sie beendet ist.");
}

// The thread that owns a journal's file: it writes the lines it is given after the last complete
// one, syncs every SyncPeriod and when asked, and tells when writing keeps failing.
struct Journal::Writer {
    // Shared with the window's thread, under the mutex.
    std::mutex mutex;
    std::condition_variable wake;
    std::string queued;
    bool syncWanted = false;
    bool stop = false;
    bool discard = false;  // stop without writing: the file has been deleted
    std::atomic<bool> failing{false};

    // The writer thread's own from its start on.
    int fd = -1;
    std::string folderToSync;    // a new journal's folder: its name reaches the disk with the file
    std::size_t goodLength = 0;  // complete lines in the file
    std::size_t fileLength = 0;  // what the file holds, complete or not
    std::string pending;         // lines not yet in the file (a failed write keeps them)
    bool unsynced = false;
    std::chrono::steady_clock::time_point lastSync = std::chrono::steady_clock::now();
    int failures = 0;  // tries in a row that did not get the lines into the file or onto the disk

    void Run();
    bool Write();
    bool SyncNow();
};

bool Journal::Writer::Write() {
    if (pending.empty())
        return true;
    // Part of a line from a failed write (or the damage of a recovered file) is cut off first, so
    // that the new lines follow the last complete one.
    if (fileLength != goodLength) {
        if (::ftruncate(fd, static_cast<off_t>(goodLength)) != 0)
            return false;
        fileLength = goodLength;
    }
    std::size_t done = 0;
    while (done < pending.size()) {
        const ssize_t n =
            ::pwrite(fd, pending.data() + done, pending.size() - done, static_cast<off_t>(goodLength + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fileLength = goodLength + done;  // the lines stay pending for the next try
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    goodLength += done;
    fileLength = goodLength;
    pending.clear();
    unsynced = true;
    return true;
}

bool Journal::Writer::SyncNow() {
    lastSync = std::chrono::steady_clock::now();
    if (::fdatasync(fd) != 0)
        return false;
    if (!folderToSync.empty()) {
        SyncFolder(folderToSync);
        folderToSync.clear();
    }
    unsynced = false;
    return true;
}

void Journal::Writer::Run() {
    using Clock = std::chrono::steady_clock;
    constexpr auto RetryPeriod = std::chrono::seconds(1);
    std::unique_lock lock(mutex);
    for (;;) {
        const auto work = [&] { return stop || syncWanted || !queued.empty(); };
        if (!pending.empty())
            wake.wait_until(lock, Clock::now() + RetryPeriod, work);
        else if (unsynced)
            wake.wait_until(lock, lastSync + SyncPeriod, work);
        else
            wake.wait(lock, work);
        if (discard)
            break;
        pending += queued;
        queued.clear();
        const bool sync = syncWanted || stop;
        const bool stopping = stop;
        syncWanted = false;
        lock.unlock();

        bool ok = Write();
        if (ok && unsynced && (sync || Clock::now() - lastSync >= SyncPeriod))
            ok = SyncNow();
        // Tried again with the next tick's lines, or after a second: three tries in a row that
        // fail mean the file keeps failing.
        failures = ok ? 0 : failures + 1;
        if (failures >= 3)
            failing = true;
        lock.lock();
        if (stopping)
            break;
    }
    ::close(fd);
    fd = -1;
    lock.unlock();
    wake.notify_all();
}

Journal::Journal(int fd, std::string path_, std::size_t goodLength, std::size_t fileLength,
                 const RecordTexts& texts, std::string folderToSync)
    : writer(std::make_shared<Writer>()), path(std::move(path_)), written(texts) {
    const bool synced = folderToSync.empty();
    writer->fd = fd;
    writer->folderToSync = std::move(folderToSync);
    writer->goodLength = goodLength;
    writer->fileLength = fileLength;
    writer->unsynced = !synced;
    writer->syncWanted = !synced;
    std::thread([w = writer] { w->Run(); }).detach();
}

Journal::~Journal() {
    Stop(true);
}

void Journal::Stop(bool wait) {
    if (!writer)
        return;
    {
        std::lock_guard lock(writer->mutex);
        writer->stop = true;
        writer->discard = !wait;
    }
    writer->wake.notify_one();
    if (wait) {
        // What was appended reaches the file before the program goes on (it ends, or hands the
        // file to the next start): the thread is done when the writer's file is closed.
        std::unique_lock lock(writer->mutex);
        writer->wake.wait(lock, [&] { return writer->fd < 0; });
    }
    writer.reset();
}

std::unique_ptr<Journal> Journal::Create(const std::string& folder, const Storage& record,
                                         const Calibration& calibration) {
    if (!MakeFolders(folder))
        return nullptr;
    const RecordTexts texts = TextsOf(record);
    std::string header = Line(Magic) + Line("start " + Escape(record.DateText())) +
                         Line("record " + Number(static_cast<long long>(record.IntervalMs())) + " " +
                              Number(static_cast<long long>(record.UnitSystem())) + " " +
                              Number(static_cast<long long>(record.FlowUnit())) + " " +
                              Number(static_cast<long long>(calibration.offset)) + " " +
                              Number(static_cast<long long>(calibration.gainWhole)) + " " +
                              Number(static_cast<long long>(calibration.gainHundredths)) + " " +
                              Number(static_cast<long long>(calibration.unit)) + " " +
                              Number(static_cast<long long>(record.SerialNumber())));
    for (const std::string& line : TextLines(texts, texts, true))
        header += line;

    // The file is made without a name, locked, and given its complete top part before it gets its
    // name: a start that finds it always finds it whole and locked, and no start can take it for
    // the half-made file of a program that died. Where the file system makes no nameless files it
    // is made under a name that starts leave alone while it is young.
    int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    std::string made;
    for (int k = 0; fd < 0 && k < 1000; ++k) {
        made = folder + "/.live-" + Number(static_cast<long long>(::getpid())) + "-" +
               Number(static_cast<long long>(k)) + ".tmp";
        fd = ::open(made.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return nullptr;
    }
    if (fd < 0)
        return nullptr;
    auto fail = [&]() -> std::unique_ptr<Journal> {
        if (!made.empty())
            ::unlink(made.c_str());
        ::close(fd);
        return nullptr;
    };
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !WriteAll(fd, header))
        return fail();
    const std::string self = "/proc/self/fd/" + Number(static_cast<long long>(fd));
    const std::string stem = folder + "/live-" + Number(static_cast<long long>(::getpid())) + "-";
    std::string path;
    for (int k = 0; k < 1000 && path.empty(); ++k) {
        const std::string name = stem + Number(static_cast<long long>(k)) + ".zpmlive";
        // A file left by an earlier program with the same process number is never replaced.
        const int linked = made.empty()
                               ? ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW)
                               : ::link(made.c_str(), name.c_str());
        if (linked == 0)
            path = name;
        else if (errno != EEXIST)
            return fail();
    }
    if (path.empty())
        return fail();
    if (!made.empty())
        ::unlink(made.c_str());
    // The writer syncs the file and its folder first thing.
    return std::unique_ptr<Journal>(new Journal(fd, path, header.size(), header.size(), texts, folder));
}

void Journal::Append(const std::vector<RawSample>& samples, const Storage& record) {
    if (!writer)
        return;
    std::string lines;
    for (const RawSample& s : samples)
        lines += Line("s " + Number(static_cast<long long>(s.flow)) + " " +
                      Number(static_cast<long long>(s.pressure)));
    const RecordTexts now = TextsOf(record);
    for (const std::string& line : TextLines(now, written, false))
        lines += line;
    written = now;
    if (lines.empty())
        return;
    {
        std::lock_guard lock(writer->mutex);
        writer->queued += lines;
    }
    writer->wake.notify_one();
}

void Journal::Sync() {
    if (!writer)
        return;
    {
        std::lock_guard lock(writer->mutex);
        writer->syncWanted = true;
    }
    writer->wake.notify_one();
}

bool Journal::TakeFailureNotice() {
    if (failureTold || !writer || !writer->failing)
        return false;
    failureTold = true;
    return true;
}

void Journal::Remove() {
    if (!writer)
        return;
    ::unlink(path.c_str());
    Stop(false);
}

std::string Journal::SetAside() {
    const std::string aside = path + ".damaged";
    if (writer) {
        if (::rename(path.c_str(), aside.c_str()) != 0)
            return path;
        Stop(false);
    }
    return aside;
}

// ---- finding abandoned journals ----

struct Claimer {
    static std::unique_ptr<Journal> Make(int fd, const std::string& path, const Content& c,
                                         std::size_t fileLength) {
        return std::unique_ptr<Journal>(new Journal(fd, path, c.validLength, fileLength, c.texts, {}));
    }
};

std::vector<Abandoned> ClaimAbandoned(const std::string& folder) {
    std::vector<Abandoned> found;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return found;
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(dir))
        names.emplace_back(e->d_name);
    ::closedir(dir);
    std::sort(names.begin(), names.end());

    const auto now = std::chrono::system_clock::now();
    const auto age = [&](const struct stat& st) {
        return now - std::chrono::system_clock::from_time_t(st.st_mtime);
    };
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        // Set aside as damaged: kept a while for whoever wants to look, then they go.
        if (StartsWith(name, "live-") && EndsWith(name, ".zpmlive.damaged")) {
            struct stat st {};
            if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && age(st) > DamagedKeptFor)
                ::unlink(path.c_str());
            continue;
        }
        const bool halfMade = StartsWith(name, ".live-") && EndsWith(name, ".tmp");
        if (!halfMade && !(StartsWith(name, "live-") && EndsWith(name, ".zpmlive")))
            continue;
        // Never blocks on a FIFO or follows a link someone put there.
        const int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {
        }, current{};
        // Locked: its program still runs. Gone or replaced since it was opened: another start
        // has just dealt with it.
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
            ::stat(path.c_str(), &current) != 0 || current.st_ino != st.st_ino ||
            current.st_dev != st.st_dev) {
            ::close(fd);
            continue;
        }
        if (halfMade) {
            // A file being made this moment (by a program that has not locked it yet) is young;
            // one a program left when it died while making it is not.
            if (age(st) > std::chrono::minutes(1))
                ::unlink(path.c_str());
            ::close(fd);
            continue;
        }
        // Read whole, however long the recording: the reader keeps the record, not the bytes.
        const std::size_t size = static_cast<std::size_t>(st.st_size);
        Reader reader;
        std::vector<char> chunk(std::size_t{1} << 20);
        std::size_t got = 0;
        for (;;) {
            const ssize_t n = ::pread(fd, chunk.data(), chunk.size(), static_cast<off_t>(got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
            if (!reader.Feed(std::string_view(chunk.data(), static_cast<std::size_t>(n))))
                break;
        }
        Content c = reader.Finish(std::max(size, got));
        if (c.record && c.record->SampleCount() == 0) {
            ::unlink(path.c_str());  // nothing was recorded
            ::close(fd);
            continue;
        }
        Abandoned a;
        a.damaged = c.damaged;
        a.record = std::move(c.record);
        a.journal = Claimer::Make(fd, path, c, std::max(size, got));
        found.push_back(std::move(a));
    }
    // The oldest recording first; one whose settings are unreadable before all.
    auto key = [](const Abandoned& a) {
        const bool dated = a.record && a.record->StartTime().IsValid();
        return std::make_pair(a.record ? 1 : 0, dated ? a.record->StartTime().GetValue().GetValue() : 0LL);
    };
    std::stable_sort(found.begin(), found.end(),
                     [&key](const Abandoned& a, const Abandoned& b) { return key(a) < key(b); });
    return found;
}

// ---- JournalSet ----

JournalSet::JournalSet() = default;
JournalSet::~JournalSet() = default;

void JournalSet::Add(int index, std::unique_ptr<Journal> journal) {
    if (journal)
        entries.emplace_back(index, std::move(journal));
}

Journal* JournalSet::Of(int index) {
    for (auto& [i, journal] : entries)
        if (i == index)
            return journal.get();
    return nullptr;
}

void JournalSet::RecordInsertedAtFront() {
    for (auto& entry : entries)
        ++entry.first;
}

void JournalSet::RecordErased(int index) {
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->first == index) {
            it->second->Remove();
            it = entries.erase(it);
            continue;
        }
        if (it->first > index)
            --it->first;
        ++it;
    }
}

void JournalSet::UpdateTexts(const std::vector<Storage>& records) {
    for (auto& [i, journal] : entries)
        if (i >= 0 && i < static_cast<int>(records.size()))
            journal->Append({}, records[static_cast<std::size_t>(i)]);
}

void JournalSet::RemoveAllBut(int keepIndex) {
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->first == keepIndex) {
            ++it;
            continue;
        }
        it->second->Remove();
        it = entries.erase(it);
    }
}

}  // namespace recovery
