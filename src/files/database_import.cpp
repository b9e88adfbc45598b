#include "files/database_import.h"
#include "data/translate.h"

#include "app/atomic_file.h"
#include "files/save_file.h"

#include <cstdint>

namespace dbimport {

namespace {

// Drops up to n bytes; true when all of them were there.
bool Skip(std::istream& in, std::uint32_t n) {
    char scratch[1 << 14];
    while (n > 0) {
        const std::uint32_t want = n < sizeof scratch ? n : static_cast<std::uint32_t>(sizeof scratch);
        in.read(scratch, want);
        if (static_cast<std::uint32_t>(in.gcount()) != want)
            return false;
        n -= want;
    }
    return true;
}

}  // namespace

wxString Scan(std::istream& in) {
    in.seekg(0, std::ios::end);
    const std::streamoff length = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    in.clear();
    in.seekg(0, std::ios::beg);
    if (length <= 0)
        return wxString();

    static const char* const kSections[5] = {"toc", "icd", "eof", "ftoc", "fbuf"};
    std::streamoff consumed = 0;
    do {
        unsigned char head[15];
        in.read(reinterpret_cast<char*>(head), sizeof head);
        const std::streamsize got = in.gcount();
        // A two-byte tail is what the logger leaves after its last block.
        if (got == 2)
            return wxString();
        if (got != 15)
            return Tr("Error reading lenghts from import file");
        std::streamoff block = 15;
        for (int s = 0; s < 5; ++s) {
            const std::uint32_t len = (std::uint32_t{head[3 * s]} << 16) |
                                      (std::uint32_t{head[3 * s + 1]} << 8) | std::uint32_t{head[3 * s + 2]};
            if (!Skip(in, len))
                return Tr("Error Import: ") + wxString::FromUTF8(kSections[s]);
            block += len;
        }
        consumed += block;
    } while (consumed < length);
    return wxString();
}

std::optional<wxString> ScanFile(const wxString& path) {
    RegularFileReader file(FileSystemPath(path));
    if (!file.IsOpen())
        return std::nullopt;
    return Scan(file.Stream());
}

}  // namespace dbimport
