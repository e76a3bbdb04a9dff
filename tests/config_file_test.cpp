#include "config/config_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

namespace {

// One file per test: CTest runs the cases as parallel processes.
ConfigFile read(const std::string& text)
{
    const std::string path = ::testing::TempDir() + "config_" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".inp";
    std::ofstream(path, std::ios::binary) << text;
    const ConfigFile config(path, "=", "#", "EndConfigFile");
    std::remove(path.c_str());
    return config;
}

TEST(ConfigFile, ReadsTheSettingsFormat)
{
    const char* const lists = "x = 1\n2 3\n  4  # note\n   # only a note\n5\n\norphan line\ny = 7\n8\nz = 9\n";
    const char* const sentry = "a = 1\n# EndConfigFile in a note\nb = 2\nc = 3 EndConfigFile\nd = 4\n";
    const char* const crlf = "width = 800\r\nlist = 1\r\n2\r\n";
    const struct { const char *name, *text, *key; std::optional<std::string> value; } rows[] = {
        {"plain", "k=v", "k", "v"}, {"outer blanks go", " \v spaced  key \t =  a value \f\n", "spaced  key", "a value"},
        {"a note is no key", "# note = 1\n", "# note", std::nullopt},
        {"a note ends a value", "w = 10 # px\n", "w", "10"},
        {"the first delimiter splits", "a = b = c\n", "a", "b = c"}, {"no name", "= nameless\n", "", "nameless"},
        {"the last one wins", "twice = 1\ntwice = 2\n", "twice", "2"},
        // A note-only line adds its leading blanks but no line break.
        {"a value goes on to a blank line", lists, "x", "1\n2 3\n  4     \n5"},
        {"or to the next key", lists, "y", "7\n8"}, {"which is read too", lists, "z", "9"},
        {"a last line without a line break is kept once", "level = 1 2\n3 4", "level", "1 2\n3 4"},
        {"a one-line file without a line break", "level = 1 2", "level", "1 2"},
        {"a sentry in a note does not count", sentry, "b", "2"},
        {"the sentry line is not read", sentry, "c", std::nullopt}, {"nor anything after it", sentry, "d", std::nullopt},
        {"a sentry ends a list", "l = 1\n2\nEndConfigFile\n3\n", "l", "1\n2"},
        {"carriage returns go at the ends", crlf, "width", "800"}, {"but not inside", crlf, "list", "1\r\n2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(read(row.text).find_value(row.key), row.value);
    }

    const ConfigFile config = read("width = 800 px\nfulscreen = No\nEndConfigFile\nheight = 5\n");
    EXPECT_EQ(config.read_int("width", 1), 800);
    EXPECT_EQ(config.read_int("height", 42), 42);
    EXPECT_FALSE(config.read_bool("fulscreen", true));
    EXPECT_TRUE(config.read_bool("missing", true));
    int height = 123, width = 0;
    config.read_int_into("height", height);
    config.read_int_into("width", width);
    EXPECT_EQ(height, 123);
    EXPECT_EQ(width, 800);
}

TEST(ConfigFile, ConvertsTextLikeAStream)
{
    const struct { const char* text; int as_int; bool as_bool; } rows[] = {
        {"800", 800, true}, {"  800 px", 800, true}, {"-3", -3, true}, {"+7", 7, true}, {"3.7", 3, true},
        {"12abc", 12, true}, {"0x10", 0, true}, {"abc", 0, true}, {"", 0, true}, {"00", 0, true}, {"1", 1, true},
        {"99999999999", 0, true}, {"-99999999999", 0, true}, {"0", 0, false}, {"no", 0, false}, {"No", 0, false},
        {"n", 0, false}, {"NoNe", 0, false}, {"false", 0, false}, {"F", 0, false}, {"f", 0, false}, {"off", 0, true},
        {"yes", 0, true}, {" no", 0, true}, {"nope", 0, true}, {"true", 0, true}, {"nonez", 0, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE('"' + std::string(row.text) + '"');
        EXPECT_EQ(to_int(row.text), row.as_int);
        EXPECT_EQ(to_bool(row.text), row.as_bool);
    }
}

} // namespace
