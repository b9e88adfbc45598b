#include "app/character_set.h"

#include <langinfo.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

namespace charset {

namespace {

bool IsPlainC(const char* name) {
    return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0;
}

const char* Utf8C = "C.UTF-8";

}  // namespace

std::string UseUtf8WhenUnset() {
    // A locale named in the environment that is not installed fails the whole call; the
    // characters alone may still be known.
    if (std::setlocale(LC_ALL, "") == nullptr)
        std::setlocale(LC_CTYPE, "");
    const char* ctype = std::setlocale(LC_CTYPE, nullptr);
    if (IsPlainC(ctype) && std::setlocale(LC_CTYPE, Utf8C) != nullptr) {
        // LC_ALL outranks LC_CTYPE: a C there is replaced by C.UTF-8, which keeps the C locale's
        // numbers and messages as well.
        const char* all = std::getenv("LC_ALL");
        if (all != nullptr && all[0] != '\0')
            ::setenv("LC_ALL", Utf8C, 1);
        else
            ::setenv("LC_CTYPE", Utf8C, 1);
    }
    const char* now = std::setlocale(LC_CTYPE, nullptr);
    return now != nullptr ? now : "";
}

}  // namespace charset
