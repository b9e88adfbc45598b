#include "files/database_import.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

namespace {

// One block: the five lengths big-endian in three bytes each, then the sections.
std::string Block(std::array<std::uint32_t, 5> lengths) {
    std::string b;
    for (std::uint32_t len : lengths) {
        b += static_cast<char>(len >> 16);
        b += static_cast<char>(len >> 8);
        b += static_cast<char>(len);
    }
    char fill = 'a';
    for (std::uint32_t len : lengths)
        b += std::string(len, fill++);
    return b;
}

std::string Scan(const std::string& bytes) {
    std::istringstream in(bytes, std::ios::binary);
    return dbimport::Scan(in).utf8_string();
}

}  // namespace

TEST(DatabaseImport, MessagesFollowTheBlockStructure) {
    const std::string one = Block({1, 2, 3, 4, 5});
    const std::string big = Block({256, 0, 0x010000, 0, 3});  // big-endian: 256 and 65536 bytes
    struct Case {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"empty file", "", ""},
        {"one block of fifteen zeros", std::string(15, '\0'), ""},
        {"last block ends at the end", one, ""},
        {"two blocks", one + big, ""},
        {"lengths read big-endian", big, ""},
        {"one byte missing in fbuf", one.substr(0, one.size() - 1), "Error Import: fbuf"},
        {"short toc", Block({10, 0, 0, 0, 0}).substr(0, 20), "Error Import: toc"},
        {"short icd", Block({1, 10, 0, 0, 0}).substr(0, 20), "Error Import: icd"},
        {"short eof", Block({1, 1, 10, 0, 0}).substr(0, 20), "Error Import: eof"},
        {"short ftoc", Block({1, 1, 1, 10, 0}).substr(0, 20), "Error Import: ftoc"},
        {"largest length, short file", std::string(3, '\xFF') + std::string(12, '\0') + "x",
         "Error Import: toc"},
        {"two-byte tail", one + "\x01\x02", ""},
        {"two-byte file", std::string(2, '\0'), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Scan(c.bytes), c.message) << c.name;

    // A tail of 1 or 3 to 14 bytes is a broken header.
    for (std::size_t tail : {1, 3, 4, 7, 14}) {
        EXPECT_EQ(Scan(one + std::string(tail, '\0')), "Error reading lenghts from import file") << tail;
        EXPECT_EQ(Scan(std::string(tail, '\0')), "Error reading lenghts from import file") << tail;
    }
    // A tail of 15 bytes is a block of its own.
    EXPECT_EQ(Scan(one + std::string(15, '\0')), "");
}

TEST(DatabaseImport, FileThatCannotBeOpened) {
    EXPECT_FALSE(dbimport::ScanFile(wxString::FromUTF8("/nonexistent/zpm/datenbank.hex")).has_value());
    EXPECT_FALSE(dbimport::ScanFile(wxString::FromUTF8("/tmp")).has_value());
    // A device is no database file, however it reads.
    EXPECT_FALSE(dbimport::ScanFile(wxString::FromUTF8("/dev/null")).has_value());
}
