// Reader for the small "key = value" text files the game uses: the settings
// file and the level files.
#pragma once

#include "config/file_text.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ConfigFile {
public:
    // Raised by the constructor when the file cannot be read: missing, not
    // a regular file, or larger than the reader takes.
    struct file_not_found {
        std::string file_name;
        // Why, as a phrase: "the file is missing or unreadable", "it is a
        // directory, not a file", ...
        std::string problem;
        bool missing = false; // there is no such file
    };

    // Reads the whole file at once; the file is closed again before the
    // constructor returns. A file over `most_bytes` is refused, its kind
    // ("a level file") named in the reason.
    ConfigFile(std::string file_name, std::string delimiter, std::string comment, std::string sentry,
               size_t most_bytes = MOST_SETTINGS_BYTES, const char* kind = "a settings file");

    std::optional<std::string> find_value(const std::string& key) const;
    int read_int(const std::string& key, int default_value) const;
    void read_int_into(const std::string& key, int& target) const;
    bool read_bool(const std::string& key, bool default_value) const;
    // Every line that gave a key a value, in the file's order: key, value.
    const std::vector<std::pair<std::string, std::string>>& lines() const { return lines_; }

private:
    std::string delimiter;
    std::string comment;
    std::string sentry;
    std::map<std::string, std::string> contents;
    std::vector<std::pair<std::string, std::string>> lines_;
};

// The characters trim removes: space, LF, tab, vertical tab, CR, form feed.
extern const char* const WHITESPACE;

std::string trim(const std::string& text);

// Reads one decimal int the way a formatted stream read does ("800 px" is
// 800, "3.7" is 3). Text that does not start with a number, or a number that
// does not fit an int, gives 0.
int to_int(const std::string& text);

// A whole number of at most nine digits and nothing else; nothing for any
// other text, where to_int would read what it could.
std::optional<int32_t> whole_number(const std::string& text);

// False for FALSE, F, NO, N, 0 and NONE in any letter case; true otherwise,
// the empty text included.
bool to_bool(const std::string& text);
