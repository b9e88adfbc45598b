#include "app/app_settings.h"
#include "app/atomic_file.h"
#include "support/test_helpers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

SettingsRecord ParseText(const std::string& text) {
    std::istringstream in(text);
    return settingsfile::Parse(in);
}

std::string FormatText(const SettingsRecord& s) {
    std::ostringstream out;
    settingsfile::Format(out, s);
    return out.str();
}

}  // namespace

TEST(SettingsFile, ReadingConvertsEachLineAsTheTableSays) {
    SettingsRecord s = ParseText("0\n353\n-5\n2\n258\n7\n-1\n");
    EXPECT_EQ(s.unitSystem, 0);
    EXPECT_EQ(s.pressureUnit, 97);  // low 8 bits of 353
    EXPECT_EQ(s.firmwareVersion, -5);
    EXPECT_TRUE(s.showTips);   // "2" is true ...
    EXPECT_EQ(s.flowUnit, 2);  // 258 & 0xFF
    EXPECT_TRUE(s.flowUnitFixed);
    EXPECT_TRUE(s.absoluteTime);
    EXPECT_EQ(s.serialNumber, 0);  // never read from the file
    // ... and written back as 1.
    EXPECT_EQ(FormatText(s), "0\n97\n-5\n1\n2\n1\n1\n");
}

TEST(SettingsFile, WhiteSpaceBetweenValuesDoesNotMatter) {
    SettingsRecord lines = ParseText("1\n112\n1027\n0\n2\n1\n0\n");
    SettingsRecord oneLine = ParseText("1 112 1027 0   2\t1 0");
    EXPECT_EQ(lines, oneLine);
    EXPECT_EQ(oneLine.pressureUnit, 112);
    EXPECT_EQ(oneLine.firmwareVersion, 1027);
    EXPECT_FALSE(oneLine.showTips);
}

TEST(SettingsFile, ShortOrGarbageFilesTakeDefaultsForWhatIsMissing) {
    struct Case {
        const char* text;
        SettingsRecord expected;
    };
    SettingsRecord firstTwo;
    firstTwo.unitSystem = 0;
    firstTwo.pressureUnit = 112;
    SettingsRecord firstThree = firstTwo;
    firstThree.firmwareVersion = 1027;
    const Case cases[] = {
        {"", SettingsRecord{}},         {"garbage\n", SettingsRecord{}}, {"0\n112\n", firstTwo},
        {"0\n112\nxyz\n0\n", firstTwo},  // everything from the first unreadable line is default
        {"0\n112\n1027", firstThree},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseText(c.text), c.expected) << "file: " << c.text;
}

TEST(SettingsFile, MissingFileGivesDefaultsAndSaveReplacesAtomically) {
    ScratchDir dir;
    std::string path = (dir.path / "zpmv48.ini").string();
    EXPECT_EQ(settingsfile::Load(path), SettingsRecord{});

    SettingsRecord s;
    s.flowUnit = 2;
    ASSERT_TRUE(settingsfile::Save(path, s));
    EXPECT_EQ(FileBytes(path), "1\n98\n0\n1\n2\n0\n0\n");
    EXPECT_EQ(settingsfile::Load(path), s);
    // Nothing but the file is left in the directory (no temporary files).
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(SettingsFile, FullDiskLeavesThePreviousFileIntact) {
    ScratchDir dir;
    std::string path = (dir.path / "zpmv48.ini").string();
    ASSERT_TRUE(settingsfile::Save(path, SettingsRecord{}));  // the defaults: seven lines
    SettingsRecord changed;
    changed.pressureUnit = 16;
    // Every write past 4 bytes fails as on a full disk.
    EXPECT_FALSE([&] {
        const FileSizeLimit full(4);
        return settingsfile::Save(path, changed);
    }());
    EXPECT_EQ(FileBytes(path), "1\n98\n0\n1\n0\n0\n0\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(AtomicFile, WriterFailureKeepsOldContentAndRemovesTheTemporary) {
    ScratchDir dir;
    std::string path = (dir.path / "job.kvr").string();
    ASSERT_EQ(WriteFileAtomically(path, std::string("old\n")), AtomicWriteResult::Ok);
    auto result = WriteFileAtomically(path, [](std::ostream& out) {
        out << "half of the new content";
        return false;  // the writer noticed a problem
    });
    EXPECT_EQ(result, AtomicWriteResult::WriteFailed);
    EXPECT_EQ(FileBytes(path), "old\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(AtomicFile, MissingDirectoryIsReportedAsCannotOpen) {
    EXPECT_EQ(WriteFileAtomically("/proc/zpm-no-such-dir/x", std::string("x")),
              AtomicWriteResult::CannotOpen);
}

// A save keeps the file's identity: links stay links and their target is written, permission bits
// stay, and what may not or cannot be replaced by a file is left exactly as it was.
TEST(AtomicFile, SavesKeepTheFilesIdentity) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& dir)> setUp;  // the target is dir/"ziel"
        AtomicWriteResult result;
        const char* written;  // the path whose content is then "neu\n"; nullptr: nothing written
        std::function<void(const fs::path& dir)> check;
    };
    auto write = [](const fs::path& p, const char* text) { std::ofstream(p) << text; };
    const Case cases[] = {
        {"absolute link",
         [&](const fs::path& d) {
             write(d / "echt", "alt\n");
             fs::create_symlink(d / "echt", d / "ziel");
         },
         AtomicWriteResult::Ok, "echt", [](const fs::path& d) { EXPECT_TRUE(fs::is_symlink(d / "ziel")); }},
        {"relative link chain",
         [&](const fs::path& d) {
             fs::create_directory(d / "b");
             write(d / "b" / "echt", "alt\n");
             fs::create_symlink("b/zwischen", d / "ziel");
             fs::create_symlink("echt", d / "b" / "zwischen");
         },
         AtomicWriteResult::Ok, "b/echt",
         [](const fs::path& d) {
             EXPECT_EQ(fs::read_symlink(d / "ziel"), "b/zwischen");
             EXPECT_EQ(fs::read_symlink(d / "b" / "zwischen"), "echt");
         }},
        {"dangling link", [](const fs::path& d) { fs::create_symlink("neu.ini", d / "ziel"); },
         AtomicWriteResult::Ok, "neu.ini",
         [](const fs::path& d) { EXPECT_TRUE(fs::is_symlink(d / "ziel")); }},
        {"permission bits",
         [&](const fs::path& d) {
             write(d / "ziel", "alt\n");
             fs::permissions(d / "ziel",
                             fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         },
         AtomicWriteResult::Ok, "ziel",
         [](const fs::path& d) {
             EXPECT_EQ(fs::status(d / "ziel").permissions(),
                       fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         }},
        {"read-only file",
         [&](const fs::path& d) {
             write(d / "ziel", "alt\n");
             fs::permissions(d / "ziel", fs::perms::owner_read | fs::perms::group_read);
         },
         AtomicWriteResult::CannotOpen, nullptr,
         [](const fs::path& d) { EXPECT_EQ(FileBytes((d / "ziel").string()), "alt\n"); }},
        {"link to a read-only file",
         [&](const fs::path& d) {
             write(d / "echt", "alt\n");
             fs::permissions(d / "echt", fs::perms::owner_read);
             fs::create_symlink("echt", d / "ziel");
         },
         AtomicWriteResult::CannotOpen, nullptr,
         [](const fs::path& d) { EXPECT_EQ(FileBytes((d / "echt").string()), "alt\n"); }},
        {"FIFO", [](const fs::path& d) { ASSERT_EQ(::mkfifo((d / "ziel").c_str(), 0600), 0); },
         AtomicWriteResult::CannotOpen, nullptr,
         [](const fs::path& d) { EXPECT_TRUE(fs::is_fifo(d / "ziel")); }},
        {"directory", [](const fs::path& d) { fs::create_directory(d / "ziel"); },
         AtomicWriteResult::CannotOpen, nullptr,
         [](const fs::path& d) { EXPECT_TRUE(fs::is_directory(d / "ziel")); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        const fs::path d = dir.path;
        c.setUp(d);
        const auto before = std::distance(fs::directory_iterator(d), fs::directory_iterator());
        EXPECT_EQ(WriteFileAtomically((d / "ziel").string(), std::string("neu\n")), c.result);
        if (c.written) {
            EXPECT_EQ(FileBytes((d / c.written).string()), "neu\n");
        }
        c.check(d);
        // No temporary file is left, and nothing new besides a link's missing target.
        EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()),
                  before + (std::string(c.name) == "dangling link" ? 1 : 0));
    }

    // The settings file gets the same care; and what is not a regular file is not read either.
    ScratchDir dir;
    const fs::path real = dir.path / "echt.ini", ini = dir.path / "zpmv48.ini";
    write(real, "1\n98\n0\n1\n0\n0\n0\n");
    fs::create_symlink(real, ini);
    SettingsRecord s;
    s.flowUnit = 3;
    EXPECT_TRUE(settingsfile::Save(ini.string(), s));
    EXPECT_TRUE(fs::is_symlink(ini));
    EXPECT_EQ(settingsfile::Load(ini.string()), s);
    fs::permissions(real, fs::perms::owner_read);
    EXPECT_FALSE(settingsfile::Save(ini.string(), SettingsRecord{}));
    EXPECT_EQ(FileBytes(real.string()), "1\n98\n0\n1\n3\n0\n0\n");
    const fs::path fifo = dir.path / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(settingsfile::Load(fifo.string()), SettingsRecord{});  // returns at once, defaults
}
