#pragma once

#include <wx/string.h>

#include <string>
#include <vector>

// The language of the program's texts follows the desktop as gettext reads it: LANGUAGE (a list
// such as "en_GB:en"), else the first set one of LC_ALL, LC_MESSAGES, LANG. The texts are German
// of their own; another language needs its catalog "zpm.mo". Window-free.
namespace language {

// The languages asked for, in order, each without its codeset ("en_US.UTF-8" gives "en_US").
std::vector<std::string> Wanted(const char* language, const char* lcAll, const char* lcMessages,
                                const char* lang);

// The first wanted language that has a catalog among available, tried as given and then as its
// language alone ("en_US", then "en"). Empty for German: German, "C" or "POSIX" asked for before
// any language with a catalog, or no catalog for any of them.
std::string Choose(const std::vector<std::string>& wanted, const std::vector<std::string>& available);

// Installs the toolkit's translations for the first of the wanted languages with a catalog: the
// catalogs beside the program (a build tree: locale/ in the program's folder), then those of the
// installation (share/locale beside bin/, and the toolkit's own prefix). Returns the language
// chosen; empty for German, and then no translations are installed at all.
std::string Install(const wxString& executablePath, const std::vector<std::string>& wanted);
// The same for the languages the desktop asks for.
std::string Install(const wxString& executablePath);

}  // namespace language
