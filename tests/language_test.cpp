// The shipped catalogues and how the game picks its language.
#include "language/language.h"
#include "text/glyph_atlas.h"
#include "text/text_layout.h"

#include "support/scratch_levels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <vector>

namespace {

const std::string LOCALE = TIRAK_DATA_DIR "/locale";
const std::string PO = TIRAK_DATA_DIR "/../po/";

struct Message {
    std::string id, plural;
    std::vector<std::string> translations;
    bool fuzzy = false;
};

// The messages of a catalogue's source, header left out.
std::vector<Message> read_po(const std::string& file)
{
    std::ifstream in(file);
    EXPECT_TRUE(in) << file;
    std::vector<Message> messages;
    std::string line;
    std::string* text = nullptr;
    bool fuzzy = false;
    const std::regex quoted(R"re(^[a-z_\[\]0-9]* *"(.*)"$)re");
    while (std::getline(in, line)) {
        std::smatch part;
        if (line.rfind("#,", 0) == 0 && line.find("fuzzy") != std::string::npos)
            fuzzy = true;
        if (line.rfind("msgid ", 0) == 0) {
            messages.push_back({});
            messages.back().fuzzy = fuzzy;
            fuzzy = false;
            text = &messages.back().id;
        } else if (line.rfind("msgid_plural ", 0) == 0) {
            text = &messages.back().plural;
        } else if (line.rfind("msgstr", 0) == 0) {
            messages.back().translations.emplace_back();
            text = &messages.back().translations.back();
        } else if (line.empty() || line[0] == '#') {
            text = nullptr;
            continue;
        }
        if (text != nullptr && std::regex_match(line, part, quoted))
            *text += part[1];
    }
    if (!messages.empty() && messages.front().id.empty())
        messages.erase(messages.begin());
    return messages;
}

std::multiset<std::string> placeholders(const std::string& text)
{
    std::multiset<std::string> names;
    const std::regex name(R"(\{[a-z]+\})");
    for (auto at = std::sregex_iterator(text.begin(), text.end(), name); at != std::sregex_iterator(); ++at)
        names.insert(at->str());
    return names;
}

} // namespace

// A translation that drops or renames a placeholder loses a figure or a
// key from its sentence; a letter the atlas lacks shows as '?'.
TEST(Language, EveryCatalogueTranslatesEverySentenceWhole)
{
    const std::vector<uint32_t>& atlas = atlas_codepoints();
    const size_t english = read_po(PO + "tirak.pot").size();
    for (const char* language : {"de", "es", "fr"}) {
        SCOPED_TRACE(language);
        const std::vector<Message> messages = read_po(PO + language + ".po");
        EXPECT_EQ(messages.size(), english) << "po/update merges the catalogues with the texts";
        for (const Message& message : messages) {
            SCOPED_TRACE(message.id);
            EXPECT_FALSE(message.fuzzy);
            ASSERT_EQ(message.translations.size(), message.plural.empty() ? 1u : 2u);
            for (const std::string& translation : message.translations) {
                EXPECT_FALSE(translation.empty());
                EXPECT_EQ(placeholders(translation), placeholders(message.id));
                for (const uint32_t c : decode_utf8(translation))
                    EXPECT_TRUE(std::binary_search(atlas.begin(), atlas.end(), c)) << "U+" << std::hex << c;
            }
        }
    }
}

// Each language's plural forms: French counts 0 as one, German and
// Spanish as many; English is the original.
TEST(Language, CountsTakeEachLanguagesPluralForms)
{
    const struct {
        const char* language;
        uint64_t count;
        const char* said;
    } rows[] = {
        {"en", 0, "0 launches"},    {"en", 1, "1 launch"},     {"en", 2, "2 launches"},
        {"de", 0, "0 Flüge"},       {"de", 1, "1 Flug"},       {"de", 2, "2 Flüge"},
        {"fr", 0, "0 lancer"},      {"fr", 1, "1 lancer"},     {"fr", 2, "2 lancers"},
        {"es", 0, "0 lanzamientos"}, {"es", 1, "1 lanzamiento"}, {"es", 2, "2 lanzamientos"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.language) + " " + std::to_string(row.count));
        EXPECT_EQ(choose_language(row.language, LOCALE), row.language);
        EXPECT_EQ(fill(tr_n("{count} launch", "{count} launches", row.count), {{"count", std::to_string(row.count)}}),
                  row.said);
    }
    choose_language("en");
}

// The setting, then the locale, choose; whatever cannot be read is English,
// with no word about it.
TEST(Language, FallsBackToEnglish)
{
    const ScratchLevels scratch;
    for (const char* dir : {"broken/de/LC_MESSAGES", "short/de/LC_MESSAGES"})
        std::filesystem::create_directories(scratch.root / dir);
    scratch.write("broken/de/LC_MESSAGES/tirak.mo", std::string("\x95\x04\x12\xde", 4) + "not a catalogue");
    scratch.write("short/de/LC_MESSAGES/tirak.mo", "");
    const struct {
        const char* setting;
        const char* environment; // LANGUAGE, or "" for none
        const char* lang;        // LANG
        std::string catalogues;
        const char* said;
    } rows[] = {
        {"de", "", "", LOCALE, "Ton an."},
        {"", "fr", "", LOCALE, "Son rétabli."},
        {"", "", "es_ES.UTF-8", LOCALE, "Sonido activado."},
        {"", "it:fr", "", LOCALE, "Son rétabli."},
        {"", "en:fr", "", LOCALE, "Sound on."},
        {"", "", "en_GB.UTF-8", LOCALE, "Sound on."},
        {"en", "de", "de_DE.UTF-8", LOCALE, "Sound on."},
        {"", "", "C.UTF-8", LOCALE, "Sound on."},
        {"it", "", "", LOCALE, "Sound on."},
        {"de", "", "", (scratch.root / "missing").string(), "Sound on."},
        {"de", "", "", (scratch.root / "broken").string(), "Sound on."},
        {"de", "", "", (scratch.root / "short").string(), "Sound on."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.setting) + "|" + row.environment + "|" + row.lang + "|" + row.catalogues);
        setenv("LANGUAGE", row.environment, 1);
        setenv("LANG", row.lang, 1);
        choose_language(row.setting, row.catalogues);
        EXPECT_EQ(tr("Sound on."), row.said);
    }
    unsetenv("LANGUAGE");
    unsetenv("LANG");
    choose_language("en");
}
