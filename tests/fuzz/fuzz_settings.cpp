// Fuzz target: the key = value reader with arbitrary bytes for a file, read
// the way start-up reads tirak.inp and the level loader reads a level, and
// every conversion on what it stored.
#include "fuzz_support.h"

#include "config/config_file.h"
#include "world/level_loader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <set>
#include <sstream>
#include <strings.h>

namespace {

const std::string DELIMITER = "=";
const std::string COMMENT = "#";
const std::string SENTRY = "EndConfigFile";

// More entries than this are not asked of parse_level_list: the list is
// allocated before it is read, and the input is only a few kilobytes.
constexpr int32_t MOST_ENTRIES = 1 << 16;

bool is_whitespace(char c)
{
    return c != '\0' && std::strchr(WHITESPACE, c) != nullptr;
}

// What to_int promises, worked out digit by digit instead of with a stream.
int expected_int(const std::string& text)
{
    size_t at = 0;
    while (at < text.size() && is_whitespace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    int64_t magnitude = 0;
    size_t digits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits)
        magnitude = std::min<int64_t>(magnitude * 10 + (text[at] - '0'), int64_t{1} << 40);
    const int64_t value = negative ? -magnitude : magnitude;
    if (digits == 0 || value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return 0;
    return static_cast<int>(value);
}

bool expected_bool(const std::string& text)
{
    for (const char* word : {"FALSE", "F", "NO", "N", "0", "NONE"})
        if (text.size() == std::strlen(word) && strncasecmp(text.c_str(), word, text.size()) == 0)
            return false;
    return true;
}

void check_conversions(const std::string& text)
{
    const std::string trimmed = trim(text);
    const size_t lead = trimmed.empty() ? text.size() : text.find(trimmed);
    FUZZ_EXPECT(lead != std::string::npos, "trim made text that is not in [" + text + "]");
    const std::string outside = text.substr(0, lead) + text.substr(std::min(text.size(), lead + trimmed.size()));
    FUZZ_EXPECT(std::all_of(outside.begin(), outside.end(), is_whitespace),
                "trim removed more than whitespace from [" + text + "]");
    FUZZ_EXPECT(trimmed.empty() || (!is_whitespace(trimmed.front()) && !is_whitespace(trimmed.back())),
                "trim left whitespace at an end of [" + text + "]");

    FUZZ_EXPECT(to_int(text) == expected_int(text),
                "to_int of [" + text + "] is " + std::to_string(to_int(text)) + ", not " +
                    std::to_string(expected_int(text)));
    FUZZ_EXPECT(to_bool(text) == expected_bool(text), "to_bool of [" + text + "]");
}

void check_level_list(const std::string& text)
{
    const int32_t written = count_level_integers(text);
    FUZZ_EXPECT(written >= 0, "a negative count of integers in [" + text + "]");
    cube_count = std::min(written / INTEGERS_PER_ENTRY + 1, MOST_ENTRIES);
    const std::vector<int32_t> list = parse_level_list(text);
    FUZZ_EXPECT(list.size() == size_t{INTEGERS_PER_ENTRY} * static_cast<size_t>(cube_count),
                "parse_level_list gave " + std::to_string(list.size()) + " integers for " +
                    std::to_string(cube_count) + " entries");
    for (size_t at = static_cast<size_t>(written); at < list.size(); ++at)
        FUZZ_EXPECT(list[at] == 0, "the padding of a short list is not 0 for [" + text + "]");
}

// A stored value: trimmed, and neither a comment nor the sentry survive in it.
void check_value(const ConfigFile& file, const std::string& key, const std::string& value)
{
    FUZZ_EXPECT(trim(value) == value, "the value of [" + key + "] is not trimmed: [" + value + "]");
    FUZZ_EXPECT(value.find(COMMENT) == std::string::npos, "a comment in the value of [" + key + "]");
    FUZZ_EXPECT(value.find(SENTRY) == std::string::npos, "the sentry in the value of [" + key + "]");

    constexpr int UNUSED = -7;
    FUZZ_EXPECT(file.read_int(key, UNUSED) == to_int(value), "read_int disagrees with to_int");
    int target = UNUSED;
    file.read_int_into(key, target);
    FUZZ_EXPECT(target == to_int(value), "read_int_into disagrees with to_int");
    FUZZ_EXPECT(file.read_bool(key, true) == to_bool(value) && file.read_bool(key, false) == to_bool(value),
                "read_bool disagrees with to_bool");

    check_conversions(value);
    check_level_list(value);
}

// Every key the file could have stored: the text before the first delimiter
// of each line, its comment removed.
std::set<std::string> possible_keys(const std::string& text)
{
    std::set<std::string> keys{"width", "height", "level", "fulscreen", "size", "cubes", ""};
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        line = line.substr(0, line.find(COMMENT));
        const size_t split = line.find(DELIMITER);
        if (split != std::string::npos)
            keys.insert(trim(line.substr(0, split)));
    }
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = write_fuzz_input(data, size, "tirak.inp");
    const ConfigFile file(path, DELIMITER, COMMENT, SENTRY);

    // The settings as start-up reads them.
    int32_t width = 0;
    int32_t height = 0;
    file.read_int_into("width", width);
    file.read_int_into("height", height);
    const int32_t level_number = file.read_int("level", 1);
    (void)file.read_bool("fulscreen", true);
    (void)level_file_name(level_number);

    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string& key : possible_keys(text)) {
        const auto value = file.find_value(key);
        if (value) {
            check_value(file, key, *value);
        } else {
            FUZZ_EXPECT(file.read_int(key, 11) == 11 && !file.read_bool(key, false),
                        "an absent key [" + key + "] did not give the default");
            int target = 13;
            file.read_int_into(key, target);
            FUZZ_EXPECT(target == 13, "read_int_into changed its target for an absent key");
        }
    }
    check_conversions(text);
    return 0;
}
