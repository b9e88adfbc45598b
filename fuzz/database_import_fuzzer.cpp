// Any bytes as a logger database file: the scan ends with one of its messages, whatever the
// lengths claim, without allocating them.
#include "files/database_import.h"

#include <wx/init.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wxInitialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size), std::ios::binary);
    const std::string message = dbimport::Scan(in).utf8_string();
    static const char* const known[] = {"",
                                        "Error reading lenghts from import file",
                                        "Error Import: toc",
                                        "Error Import: icd",
                                        "Error Import: eof",
                                        "Error Import: ftoc",
                                        "Error Import: fbuf"};
    for (const char* k : known)
        if (message == k)
            return 0;
    std::fprintf(stderr, "database import fuzzer: unexpected message \"%s\"\n", message.c_str());
    std::abort();
}
