// Fuzz target: the key = value reader with arbitrary bytes for a file, read
// the way start-up reads tirak.inp and the level loader reads a level, and
// every conversion on what it stored. The unit tests pin what each
// conversion gives; here the sanitizers watch, and the invariants below
// must hold for any text.
#include "fuzz_support.h"

#include "config/config_file.h"
#include "world/level_loader.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace {

const std::string DELIMITER = "=";
const std::string COMMENT = "#";
const std::string SENTRY = "EndConfigFile";

// More entries than this are not asked of parse_level_list: the list is
// allocated before it is read, and the input is only a few kilobytes.
constexpr int32_t MOST_ENTRIES = 1 << 16;

void check_level_list(const std::string& text)
{
    const int32_t written = count_level_integers(text);
    FUZZ_EXPECT(written >= 0, "a negative count of integers in [" + text + "]");
    const int32_t entries = std::min(written / INTEGERS_PER_ENTRY + 1, MOST_ENTRIES);
    const std::vector<int32_t> list = parse_level_list(text, entries);
    FUZZ_EXPECT(list.size() == size_t{INTEGERS_PER_ENTRY} * static_cast<size_t>(entries),
                "parse_level_list gave " + std::to_string(list.size()) + " integers for " +
                    std::to_string(entries) + " entries");
    for (size_t at = static_cast<size_t>(written); at < list.size(); ++at)
        FUZZ_EXPECT(list[at] == 0, "the padding of a short list is not 0 for [" + text + "]");
}

// A stored value: trimmed, and neither a comment nor the sentry survive in
// it; every typed read agrees with the conversion of the stored text.
void check_value(const ConfigFile& file, const std::string& key, const std::string& value)
{
    FUZZ_EXPECT(trim(value) == value, "the value of [" + key + "] is not trimmed: [" + value + "]");
    FUZZ_EXPECT(value.find(COMMENT) == std::string::npos, "a comment in the value of [" + key + "]");
    FUZZ_EXPECT(value.find(SENTRY) == std::string::npos, "the sentry in the value of [" + key + "]");
    int target = -7;
    file.read_int_into(key, target);
    FUZZ_EXPECT(file.read_int(key, -7) == to_int(value) && target == to_int(value),
                "read_int disagrees with to_int for [" + value + "]");
    FUZZ_EXPECT(file.read_bool(key, true) == to_bool(value) && file.read_bool(key, false) == to_bool(value),
                "read_bool disagrees with to_bool for [" + value + "]");
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
    (void)level_file_name(file.read_int("level", 1), 30);

    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const std::string& key : possible_keys(text)) {
        if (const auto value = file.find_value(key)) {
            check_value(file, key, *value);
            continue;
        }
        int target = 13;
        file.read_int_into(key, target);
        FUZZ_EXPECT(file.read_int(key, 11) == 11 && !file.read_bool(key, false) && target == 13,
                    "an absent key [" + key + "] did not give the default");
    }
    const std::string trimmed = trim(text);
    FUZZ_EXPECT(text.find(trimmed) != std::string::npos, "trim made text that is not in the input");
    (void)to_int(text);
    (void)to_bool(text);
    return 0;
}
