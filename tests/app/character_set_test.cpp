#include "app/character_set.h"

#include <gtest/gtest.h>

#include <langinfo.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// What a start with the given locale variables ends with, run in a child so the test's own
// locale stays: the character set after the call, after the toolkit's own setlocale(LC_ALL, "")
// and the decimal point, as "CODESET|CODESET-AGAIN|POINT".
std::string StartWith(const char* lcAll, const char* lcCtype, const char* lang) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG", "LC_NUMERIC", "LC_MESSAGES", "LANGUAGE"})
            ::unsetenv(name);
        if (lcAll)
            ::setenv("LC_ALL", lcAll, 1);
        if (lcCtype)
            ::setenv("LC_CTYPE", lcCtype, 1);
        if (lang)
            ::setenv("LANG", lang, 1);
        std::setlocale(LC_ALL, "C");
        charset::UseUtf8WhenUnset();
        std::string out = nl_langinfo(CODESET);
        std::setlocale(LC_ALL, "");  // the toolkit does this when it starts
        out += std::string("|") + nl_langinfo(CODESET) + "|" + std::localeconv()->decimal_point;
        (void)!::write(pipeFds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string got;
    char buf[128];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        got.append(buf, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return got;
}

}  // namespace

TEST(CharacterSet, AStartWithoutALocaleGetsUtf8AndKeepsTheCNumbers) {
    struct Case {
        const char *lcAll, *lcCtype, *lang, *expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, "UTF-8|UTF-8|."},        // no locale at all
        {nullptr, nullptr, "C", "UTF-8|UTF-8|."},            // the plain C locale
        {"POSIX", nullptr, "C.UTF-8", "UTF-8|UTF-8|."},      // LC_ALL outranks the rest
        {"", "C", nullptr, "UTF-8|UTF-8|."},                 // an empty LC_ALL counts as unset
        {nullptr, nullptr, "C.UTF-8", "UTF-8|UTF-8|."},      // chosen: left alone
        {nullptr, nullptr, "xx_YY.UTF-8", "UTF-8|UTF-8|."},  // a locale that is not installed
        {nullptr, "C.UTF-8", "C", "UTF-8|UTF-8|."},
        {nullptr, nullptr, "de_DE.UTF-8", "UTF-8|UTF-8|,"},  // the user's German: its comma stays
    };
    // The German locale compiled into a scratch folder that only this test's children look in.
    char tmpl[] = "/tmp/zpm-locale-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    const std::string folder = tmpl;
    ASSERT_EQ(std::system(("localedef -c -i de_DE -f UTF-8 " + folder +
                           "/de_DE.UTF-8 >/dev/null 2>&1; test -f " + folder + "/de_DE.UTF-8/LC_NUMERIC")
                              .c_str()),
              0)
        << "localedef (package locales) failed";
    ::setenv("LOCPATH", folder.c_str(), 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "LC_ALL=" << (c.lcAll ? c.lcAll : "-")
                     << " LC_CTYPE=" << (c.lcCtype ? c.lcCtype : "-") << " LANG=" << (c.lang ? c.lang : "-"));
        EXPECT_EQ(StartWith(c.lcAll, c.lcCtype, c.lang), c.expected);
    }
    ::unsetenv("LOCPATH");
    std::system(("rm -rf " + folder).c_str());
}
