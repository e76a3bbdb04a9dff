#include "language/language.h"

#include <clocale>
#include <cstdlib>
#include <libintl.h>
#include <locale.h>

// gettext keeps what it looked up; a new language must tell it to look again.
extern "C" int _nl_msg_cat_cntr;

namespace {

constexpr const char* CATALOGUE = "tirak";

// Null while the game speaks English: nothing is looked up.
locale_t messages_locale = nullptr;

// The language the environment asks for, as gettext reads it: LANGUAGE
// first (a list, "de:fr"), then the locale's own variables.
std::string language_of_environment()
{
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return value;
    }
    return "";
}

// The C locale, or English first in a list such as LANGUAGE's "en:de".
bool is_english(const std::string& language)
{
    const std::string first = language.substr(0, language.find_first_of("_.@:"));
    return first.empty() || first == "C" || first == "POSIX" || first == "en";
}

// Looks the text up in the player's language. The process's own locale
// stays "C", so the library's messages in console lines (a file's
// "Permission denied") stay English; only these lookups run in a locale
// that lets gettext follow LANGUAGE.
template <typename Lookup> std::string looked_up(const char* english, Lookup lookup)
{
    if (messages_locale == nullptr)
        return english;
    const locale_t before = uselocale(messages_locale);
    std::string text = lookup();
    uselocale(before);
    return text;
}

} // namespace

std::string choose_language(const std::string& setting, const std::string& catalogues)
{
    const std::string language = setting.empty() ? language_of_environment() : setting;
    if (messages_locale != nullptr) {
        freelocale(messages_locale);
        messages_locale = nullptr;
    }
    if (is_english(language))
        return "en";
    // The setting, or the locale's own variable, becomes gettext's list;
    // gettext looks for "de_DE.UTF-8" as de_DE and then de.
    setenv("LANGUAGE", language.c_str(), 1);
    messages_locale = newlocale(LC_MESSAGES_MASK, "C.UTF-8", nullptr);
    if (messages_locale == nullptr)
        return "en";
    bindtextdomain(CATALOGUE, catalogues.c_str());
    bind_textdomain_codeset(CATALOGUE, "UTF-8");
    ++_nl_msg_cat_cntr;
    return language;
}

bool translating()
{
    return messages_locale != nullptr;
}

std::string tr(const char* english)
{
    return looked_up(english, [&] { return std::string(dgettext(CATALOGUE, english)); });
}

std::string tr_n(const char* one, const char* many, uint64_t count)
{
    if (messages_locale == nullptr)
        return count == 1 ? one : many;
    return looked_up(one, [&] { return std::string(dngettext(CATALOGUE, one, many, static_cast<unsigned long>(count))); });
}

std::string words(bool shown, const char* english)
{
    return shown ? tr(english) : english;
}

std::string words_n(bool shown, const char* one, const char* many, uint64_t count)
{
    return shown ? tr_n(one, many, count) : count == 1 ? one : many;
}

std::string fill(std::string pattern, std::initializer_list<std::pair<const char*, std::string>> values)
{
    std::string out;
    size_t at = 0;
    while (at < pattern.size()) {
        const size_t open = pattern.find('{', at);
        const size_t close = open == std::string::npos ? open : pattern.find('}', open);
        if (close == std::string::npos) {
            out.append(pattern, at, std::string::npos);
            break;
        }
        out.append(pattern, at, open - at);
        const std::string name = pattern.substr(open + 1, close - open - 1);
        const auto* value = values.begin();
        while (value != values.end() && name != value->first)
            ++value;
        out += value != values.end() ? value->second : pattern.substr(open, close - open + 1);
        at = close + 1;
    }
    return out;
}
