#pragma once

#include "data/storage.h"
#include "device/protocol.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Recovery journals of live recordings. A live record lives only in memory until it is saved, so
// every live tick also appends its samples to a small text file of that record; after a crash, a
// kill or a power loss the next start finds the file and offers the record back.
//
// One file per record, "live-PID-N.zpmlive" in the journal folder, locked (flock) for as long as
// the program that writes it holds it open: a second program running at the same time never takes
// it for abandoned, and the lock goes with the program however it ends. Each line carries its own
// checksum, so a file cut short or damaged gives back every sample up to the first bad line.
namespace recovery {

// The logger's pressure calibration, as the live record got it.
struct Calibration {
    std::uint8_t offset = 0, gainWhole = 0, gainHundredths = 0, unit = 0;
};

// The texts of a record that the user can change while it records or afterwards.
struct RecordTexts {
    wxString title, subtitle, note;
    int noteX = 0, noteY = 0;
    float targetFlow = 0.0f;
    bool operator==(const RecordTexts&) const = default;
};
RecordTexts TextsOf(const Storage& record);

// The desktop's folder for the program's data: $XDG_DATA_HOME/zpm, ~/.local/share/zpm without it.
std::string JournalFolder();

// What a journal's bytes give back.
struct Content {
    std::optional<Storage> record;  // none when the record's settings at the top are unreadable
    RecordTexts texts;              // as last written
    bool damaged = false;           // bytes after the last complete line that could not be read
    std::size_t validLength = 0;    // the bytes up to the end of the last complete line
};
Content Parse(const std::string& bytes);

// One open journal, locked by this program. Its file belongs to a writer thread of its own that
// is fed whole lines: the writes and the syncs to disk never hold up the window (a slow home
// folder on a network share or a disk waking from sleep), and nothing else of the program leaves
// the window's thread.
class Journal {
public:
    // Samples reach the disk at the latest this long after they were appended (with live ticks of
    // a second, at most a tick more).
    static constexpr std::chrono::seconds SyncPeriod{4};

    // A new journal in folder (made when missing) for a live record that has just been created.
    // Null when no file can be made there: the recording goes on without one.
    static std::unique_ptr<Journal> Create(const std::string& folder, const Storage& record,
                                           const Calibration& calibration);
    // Writes what was appended, closes the file and lets go of its lock; the file stays, as after a
    // crash.
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // The samples a live tick added to record, and whichever of its texts changed since the last
    // call, handed to the writer at once; synced to disk every SyncPeriod.
    void Append(const std::vector<RawSample>& samples, const Storage& record);
    // Everything appended so far onto the disk, as soon as the writer gets to it.
    void Sync();
    // The journal is no longer needed: the file is deleted.
    void Remove();
    // Moves the file aside (NAME.damaged) where no start looks for journals; returns the new path.
    std::string SetAside();
    const std::string& Path() const { return path; }
    // True once, when the writes or syncs have kept failing (three tries in a row): from then on
    // the recording is not protected against a crash, and the user is to be told.
    bool TakeFailureNotice();

    struct Writer;

private:
    friend struct Claimer;
    // folderToSync: a new file, synced with its folder first thing; empty for a file taken over.
    Journal(int fd, std::string path, std::size_t goodLength, std::size_t fileLength,
            const RecordTexts& texts, std::string folderToSync);
    void Stop(bool wait);

    std::shared_ptr<Writer> writer;
    std::string path;
    RecordTexts written;
    bool failureTold = false;
};

// The journals' folder or file cannot be made: the user is told that the recording is not
// protected against a crash.
wxString NotProtectedText();

// A journal whose program ended without removing it, now claimed (locked) by this program.
struct Abandoned {
    std::unique_ptr<Journal> journal;
    std::optional<Storage> record;  // none when its settings are unreadable
    bool damaged = false;
};
// Every abandoned journal in folder with something to give back, the oldest recording first, read
// whole whatever its length. Journals that hold no sample, half-made files of a program that died
// while making one, and journals set aside as damaged more than DamagedKeptFor ago are deleted on
// the way. Journals of programs still running are left alone.
inline constexpr std::chrono::hours DamagedKeptFor{24 * 30};
std::vector<Abandoned> ClaimAbandoned(const std::string& folder);

// The journals of a record set, each with the index of its record, kept in step with the set:
// a journal goes when its record leaves the set.
class JournalSet {
public:
    JournalSet();
    ~JournalSet();  // closes the files, keeping them

    void Add(int index, std::unique_ptr<Journal> journal);
    Journal* Of(int index);
    std::size_t Size() const { return entries.size(); }

    void RecordInsertedAtFront();
    void RecordErased(int index);
    // Writes the texts the user changed in any of the records.
    void UpdateTexts(const std::vector<Storage>& records);
    // Deletes every journal but that of the record at keepIndex (-1: all of them).
    void RemoveAllBut(int keepIndex);

private:
    std::vector<std::pair<int, std::unique_ptr<Journal>>> entries;
};

}  // namespace recovery
