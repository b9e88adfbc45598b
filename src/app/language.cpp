#include "app/language.h"

#include <wx/filename.h>
#include <wx/translation.h>

#include <cstdlib>

namespace language {

namespace {

const char Domain[] = "zpm";

// "en_US.UTF-8@euro" without codeset and modifier: "en_US".
std::string Plain(std::string name) {
    const std::size_t cut = name.find_first_of(".@");
    if (cut != std::string::npos)
        name.erase(cut);
    return name;
}

bool MeansGerman(const std::string& name) {
    return name == "C" || name == "POSIX" || name == "de" || name.rfind("de_", 0) == 0;
}

}  // namespace

std::vector<std::string> Wanted(const char* language, const char* lcAll, const char* lcMessages,
                                const char* lang) {
    std::vector<std::string> wanted;
    if (language && *language) {
        std::string list = language;
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t end = std::min(list.find(':', start), list.size());
            if (end > start)
                wanted.push_back(Plain(list.substr(start, end - start)));
            start = end + 1;
        }
    }
    for (const char* v : {lcAll, lcMessages, lang}) {
        if (v && *v) {
            wanted.push_back(Plain(v));
            break;
        }
    }
    return wanted;
}

std::string Choose(const std::vector<std::string>& wanted, const std::vector<std::string>& available) {
    auto has = [&](const std::string& l) {
        for (const std::string& a : available)
            if (a == l)
                return true;
        return false;
    };
    for (const std::string& w : wanted) {
        if (MeansGerman(w))
            return std::string();
        if (has(w))
            return w;
        const std::string alone = w.substr(0, w.find('_'));
        if (MeansGerman(alone))
            return std::string();
        if (has(alone))
            return alone;
    }
    return std::string();
}

std::string Install(const wxString& executablePath) {
    return Install(executablePath, Wanted(std::getenv("LANGUAGE"), std::getenv("LC_ALL"),
                                          std::getenv("LC_MESSAGES"), std::getenv("LANG")));
}

std::string Install(const wxString& executablePath, const std::vector<std::string>& wanted) {
    const wxString folder = wxFileName(executablePath).GetPath();
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(folder + wxS("/locale"));
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(folder + wxS("/../share/locale"));
    auto* translations = new wxTranslations;
    wxTranslations::Set(translations);
    std::vector<std::string> available;
    for (const wxString& a : translations->GetAvailableTranslations(wxString::FromAscii(Domain)))
        available.push_back(a.utf8_string());
    const std::string chosen = Choose(wanted, available);
    if (chosen.empty()) {
        wxTranslations::Set(nullptr);
        return chosen;
    }
    translations->SetLanguage(wxString::FromUTF8(chosen));
    if (!translations->AddCatalog(wxString::FromAscii(Domain), wxLANGUAGE_GERMAN)) {
        wxTranslations::Set(nullptr);
        return std::string();
    }
    return chosen;
}

}  // namespace language
