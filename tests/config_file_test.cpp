#include "config/config_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// Writes text to a scratch file and reads it back the way the game does.
class ConfigFileTest : public ::testing::Test {
protected:
    ConfigFile read(const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
        return ConfigFile(path, "=", "#", "EndConfigFile");
    }
    void TearDown() override { std::remove(path.c_str()); }

    // One file per test: CTest runs the cases as parallel processes.
    std::string path = ::testing::TempDir() + "config_file_test_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".inp";
};

TEST_F(ConfigFileTest, SplitsKeysFromValuesAndDropsComments)
{
    const ConfigFile config = read("k=v\n"
                                   "  spaced  key \t =   a value  \n"
                                   "# whole line comment = 1\n"
                                   "width = 10 # px\n"
                                   "a = b = c\n"
                                   "= nameless\n"
                                   "\n"
                                   "no delimiter here\n"
                                   "twice = 1\n"
                                   "twice = 2\n");
    EXPECT_EQ(config.find_value("k"), "v");
    EXPECT_EQ(config.find_value("spaced  key"), "a value");
    EXPECT_EQ(config.find_value("# whole line comment"), std::nullopt);
    EXPECT_EQ(config.find_value("width"), "10");
    EXPECT_EQ(config.find_value("a"), "b = c");
    EXPECT_EQ(config.find_value(""), "nameless");
    EXPECT_EQ(config.find_value("twice"), "2");
    EXPECT_EQ(config.find_value("K"), std::nullopt) << "keys are case-sensitive";
}

TEST_F(ConfigFileTest, ValuesContinueOverFollowingLines)
{
    const ConfigFile config = read("x = 1\n"
                                   "2 3\n"
                                   "  4  # trailing comment\n"
                                   "   # only a comment\n"
                                   "5\n"
                                   "\n"
                                   "orphan line\n"
                                   "y = 7\n"
                                   "8\n"
                                   "z = 9\n");
    // The comment-only line adds its leading blanks but no line break.
    EXPECT_EQ(config.find_value("x"), "1\n2 3\n  4     \n5");
    EXPECT_EQ(config.find_value("y"), "7\n8") << "the next key ends a value";
    EXPECT_EQ(config.find_value("z"), "9");
}

TEST_F(ConfigFileTest, LastContinuationLineWithoutLineBreakIsKeptOnce)
{
    EXPECT_EQ(read("level = 1 2\n3 4").find_value("level"), "1 2\n3 4");
    EXPECT_EQ(read("level = 1 2").find_value("level"), "1 2");
    EXPECT_EQ(read("level = 1 2\n3 4\n").find_value("level"), "1 2\n3 4");
}

TEST_F(ConfigFileTest, SentryEndsTheDataOutsideCommentsOnly)
{
    const ConfigFile config = read("a = 1\n"
                                   "# EndConfigFile in a comment does not count\n"
                                   "b = 2\n"
                                   "c = 3 EndConfigFile\n"
                                   "d = 4\n");
    EXPECT_EQ(config.find_value("a"), "1");
    EXPECT_EQ(config.find_value("b"), "2");
    EXPECT_EQ(config.find_value("c"), std::nullopt);
    EXPECT_EQ(config.find_value("d"), std::nullopt);

    const ConfigFile continued = read("list = 1\n2\nEndConfigFile\n3\n");
    EXPECT_EQ(continued.find_value("list"), "1\n2");

    const ConfigFile only_sentry = read("EndConfigFile\n");
    EXPECT_EQ(only_sentry.read_int("size", 42), 42);
    EXPECT_TRUE(only_sentry.read_bool("fulscreen", true));
}

TEST_F(ConfigFileTest, CarriageReturnsAreTrimmed)
{
    const ConfigFile config = read("width = 800\r\nlist = 1\r\n2\r\n");
    EXPECT_EQ(config.find_value("width"), "800");
    EXPECT_EQ(config.find_value("list"), "1\r\n2");
}

TEST_F(ConfigFileTest, TypedReadsUseTheirDefaultsForAbsentKeys)
{
    const ConfigFile config = read("width = 800 px\nfulscreen = No\n");
    EXPECT_EQ(config.read_int("width", 1), 800);
    EXPECT_EQ(config.read_int("level", 1), 1);
    EXPECT_FALSE(config.read_bool("fulscreen", true));
    EXPECT_TRUE(config.read_bool("missing", true));

    int height = 123;
    config.read_int_into("height", height);
    EXPECT_EQ(height, 123) << "an absent key leaves the target alone";
    int width = 0;
    config.read_int_into("width", width);
    EXPECT_EQ(width, 800);
}

TEST_F(ConfigFileTest, MissingFileRaisesWithItsName)
{
    const std::string missing = ::testing::TempDir() + "no_such_dir/none.inp";
    try {
        ConfigFile config(missing, "=", "#", "EndConfigFile");
        FAIL() << "no exception for a missing file";
    } catch (const ConfigFile::file_not_found& error) {
        EXPECT_EQ(error.file_name, missing);
    }
}

TEST(ConfigConversions, ToIntReadsLikeAStream)
{
    EXPECT_EQ(to_int("800"), 800);
    EXPECT_EQ(to_int("  800 px"), 800);
    EXPECT_EQ(to_int("-3"), -3);
    EXPECT_EQ(to_int("+7"), 7);
    EXPECT_EQ(to_int("3.7"), 3);
    EXPECT_EQ(to_int("0x10"), 0);
    EXPECT_EQ(to_int("12abc"), 12);
    EXPECT_EQ(to_int("abc"), 0);
    EXPECT_EQ(to_int(""), 0);
    EXPECT_EQ(to_int("99999999999"), 0) << "too large for an int";
    EXPECT_EQ(to_int("-99999999999"), 0);
}

TEST(ConfigConversions, ToBoolKnowsSixWordsForFalse)
{
    for (const char* word : {"no", "No", "NO", "n", "0", "none", "NoNe", "false", "F", "f"})
        EXPECT_FALSE(to_bool(word)) << word;
    for (const char* word : {"off", "yes", "", "00", " no", "1", "nope", "true"})
        EXPECT_TRUE(to_bool(word)) << '"' << word << '"';
}

TEST(ConfigConversions, TrimRemovesOuterWhitespaceOnly)
{
    EXPECT_EQ(trim(" \t\v\f\r\n a b \n\r"), "a b");
    EXPECT_EQ(trim(" \n\t"), "");
    EXPECT_EQ(trim(""), "");
    EXPECT_EQ(trim("x"), "x");
}

} // namespace
