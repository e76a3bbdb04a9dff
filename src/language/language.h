// The language the player reads the game in. Every word on the screen goes
// through here; the console keeps English, so that what the game prints
// reads the same on every machine and in every log.
//
// Catalogues are gettext's, in "locale/<language>/LC_MESSAGES/tirak.mo"
// under the working directory. A language without one, or with one that
// gettext cannot read, reads English.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

// Marks a text for the catalogue where it is defined (a table, say) and
// translated later, where it is shown.
#define N_(text) text

// Sets the language from the settings' `language` ("" follows the locale:
// LANGUAGE, LC_ALL, LC_MESSAGES, LANG; "en" is the original) before the
// first word is looked up. Returns the language chosen, "en" for English.
std::string choose_language(const std::string& setting, const std::string& catalogues = "locale");

// Whether the player reads another language than English.
bool translating();

// The text in the player's language.
std::string tr(const char* english);

// The sentence for a count, with the language's own plural forms: `one`
// and `many` are English's.
std::string tr_n(const char* one, const char* many, uint64_t count);

// English, or the player's language when `shown`: for a line that is both
// printed and shown.
std::string words(bool shown, const char* english);
std::string words_n(bool shown, const char* one, const char* many, uint64_t count);

// The pattern with each "{name}" replaced by its value. A translation's
// name that is not given stays as it is, so a slip in a catalogue shows
// rather than losing the sentence.
std::string fill(std::string pattern, std::initializer_list<std::pair<const char*, std::string>> values);
