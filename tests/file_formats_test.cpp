#include "support/scratch_levels.h"

#include "config/config_file.h"
#include "progress/progress_file.h"
#include "world/level_loader.h"
#include "world/level_show.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>

namespace {

// "size: x y z value; ..." for the occupied cells in cell order, then why the game would not play it.
std::string load(int number)
{
    std::string text;
    try {
        LevelGrid grid;
        fill_level_grid(read_level_file(level_file_name(number, 1)), grid);
        text = std::to_string(grid.size) + ":";
        for (int32_t at = 0, n = grid.size; at < grid.cell_count; ++at)
            if (grid.cells[at] != CELL_EMPTY)
                text += " " + std::to_string(at % n) + " " + std::to_string(at / n % n) + " " +
                        std::to_string(at / n / n) + " " + std::to_string(grid.cells[at]) + ";";
        load_level(number, 1, grid); // as the game loads it
        return text;
    } catch (const LevelError& error) {
        EXPECT_EQ(error.file_name, level_file_name(number, 1));
        return text + (text.empty() ? "" : " ") + error.problem;
    } catch (const ConfigFile::file_not_found& error) {
        return "cannot open " + error.file_name;
    }
}

TEST(LevelLoader, CyclesThroughTheFilesFoundAtStartUp)
{
    // The files there, how many count, level numbers and the files they name, and the file after the
    // largest level number (which plays the file named first), where the cycle goes on.
    struct Row {
        const char* name; std::vector<int> files; int count; std::vector<std::pair<int, const char*>> names;
        const char* after_largest;
    };
    const Row rows[] = {
        {"three, as ever", {1, 2, 3}, 3, {{1, "levels/1.lev"}, {3, "levels/3.lev"}, {4, "levels/1.lev"}, {3001, "levels/1.lev"},
         {0, "levels/3.lev"}, {-1, "levels/-1.lev"}, {-3, "levels/3.lev"}, {-5, "levels/-2.lev"},
         {INT32_MAX, "levels/1.lev"}}, "levels/2.lev"},
        {"thirty-one", {}, 31, {{30, "levels/30.lev"}, {31, "levels/31.lev"}, {32, "levels/1.lev"}, {0, "levels/31.lev"},
         {-33, "levels/-2.lev"}, {INT32_MAX, "levels/1.lev"}}, "levels/2.lev"},
        {"up to a gap", {1, 2, 4, 5}, 2, {{2, "levels/2.lev"}, {3, "levels/1.lev"}, {4, "levels/2.lev"},
         {INT32_MAX, "levels/1.lev"}}, "levels/2.lev"},
        {"without 1.lev, 1.lev is named and found missing", {2, 3}, 1, {{1, "levels/1.lev"}, {3, "levels/1.lev"}},
         "levels/1.lev"},
        {"seven", {}, 7, {{INT32_MAX, "levels/1.lev"}, {INT32_MAX - 1, "levels/7.lev"}},
         "levels/2.lev"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ScratchLevels scratch;
        for (int file = 1; file <= (row.files.empty() ? row.count : 0); ++file)
            scratch.write("levels/" + std::to_string(file) + ".lev", "");
        for (const int file : row.files)
            scratch.write("levels/" + std::to_string(file) + ".lev", "");
        const int32_t count = count_level_files();
        EXPECT_EQ(count, row.count);
        for (const auto& [number, name] : row.names)
            EXPECT_EQ(level_file_name(number, count), name) << number;
        EXPECT_EQ(level_file_name(next_level_number(INT32_MAX, count), count), row.after_largest);
        EXPECT_EQ(next_level_number(41, count), 42);
    }
}

TEST(LevelLoader, AcceptsAndRejects)
{
    const std::string no_start = " it has no ship start (a cell with the value 5)";
    const struct { const char* name; std::string text, result; } rows[] = {
        {"notes, unknown keys, a list over lines, a sentry",
         "# A level.\nsize = 4   # cells\nunknown = 12\ncubes = 4\nlevel = 0 0 0 5   # ship\n  3 0 0 1\n"
         "# a note between the rows\n  1\t2 3 6\n  2 1 3 2\n\nEndConfigFile\nsize = 9\nlevel = 1 1 1 1\n",
         "4: 0 0 0 5; 3 0 0 1; 2 1 3 2; 1 2 3 6;"},
        {"four integers a cube, no more", level_text(3, "1 0 0 5 2 0 0 1 0 2 0 6", 2), "3: 1 0 0 5; 2 0 0 1;"},
        {"a missing entry reads as 0 0 0 0", level_text(3, "0 0 0 1 2 2 2 5", 3), "3: 2 2 2 5;"},
        {"a last entry cut short still counts", level_text(3, "1 1 1 5 1 1 1", 2), "3:" + no_start},
        {"reading stops at a word", level_text(3, "1 1 1 5 2 x 2 6", 2), "3: 1 1 1 5;"},
        {"and at a number too large", level_text(3, "1 1 1 5 2 99999999999 2 6", 2), "3: 1 1 1 5;"},
        {"a later entry wins", level_text(3, "1 1 1 6 0 0 0 5 1 1 1 1"), "3: 0 0 0 5; 1 1 1 1;"},
        // Unchecked, (5, 0, 0) would land on (0, 1, 0) and (0, 0, 5) past the cells.
        {"entries outside are skipped", level_text(5, "2 2 2 5 5 0 0 1 -1 1 0 1 0 0 5 1 0 -1 0 6 4 4 4 6"),
         "5: 2 2 2 5; 4 4 4 6;"},
        {"a ship start outside is none", level_text(3, "3 0 0 5 1 1 1 6"), "3: 1 1 1 6;" + no_start},
        {"the largest grid", level_text(MAX_GRID_SIZE, "63 63 63 5"), "64: 63 63 63 5;"},
        {"one cell", level_text(1, "0 0 0 5"), "1: 0 0 0 5;"},
        {"as many entries as a level may have", level_text(3, "1 1 1 5", 16384), "3: 1 1 1 5;"},
        {"negative size", level_text(-3, "0 0 0 5", 1), "size is -3, which is negative"},
        {"negative count", "size = 3\ncubes = -1\n", "cubes is -1, which is negative"},
        {"too wide", level_text(65, "0 0 0 5", 1), "size is 65, larger than the largest grid of 64 cells a side"},
        {"too many", level_text(3, "", 16385), "cubes is 16385, more than the 16384 entries a level may have"},
        {"no size, no cells", "cubes = 1\nlevel = 0 0 0 5\n", "0:" + no_start},
        {"no entries", level_text(3, "1 1 1 5", 0), "3:" + no_start},
        {"no list", "size = 2\ncubes = 2\n", "2:" + no_start},
    };
    const ScratchLevels scratch;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        scratch.write("levels/1.lev", row.text);
        EXPECT_EQ(load(1), row.result);
    }
    std::filesystem::remove("levels/1.lev");
    EXPECT_EQ(load(1), "cannot open levels/1.lev");
}

TEST(LevelShow, DrawsOneLayerAtATime)
{
    LevelGrid grid{{CELL_SHIP_START, CELL_CUBE, CELL_EMPTY, CELL_BEAMER, 7, CELL_GOAL, CELL_BEAMER, CELL_EMPTY}, 2, 8};
    EXPECT_EQ(show_level(grid), "size 2: . empty  # cube  B beamer  S ship start  G goal  X hidden wall\n"
                                "y = 0\n     x 0 1\n  z 0  S #\n  z 1  X G\ny = 1\n     x 0 1\n  z 0  . B\n  z 1  B .\n");
    grid = LevelGrid{std::vector<int32_t>(1331, CELL_EMPTY), 11, 1331}; // numbered with one digit
    const std::string row = " . . . . . . . . . . .\n", shown = show_level(grid);
    EXPECT_NE(shown.find("     x 0 1 2 3 4 5 6 7 8 9 0\n  z 0 " + row), std::string::npos);
    EXPECT_NE(shown.find("  z 9 " + row + "  z 0 " + row + "y = 1"), std::string::npos);
}

TEST(ConfigFile, ReadsTheSettingsFormat)
{
    const ScratchLevels scratch;
    auto read = [&](const char* text) { return ConfigFile(scratch.write("t.inp", text), "=", "#", "EndConfigFile"); };
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
    EXPECT_EQ(std::pair(height, width), std::pair(123, 800)) << "an absent key leaves its target alone";
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

TEST(ProgressFile, ReadsWhatItWroteAndMovesABrokenFileAsideWithoutOverwriting)
{
    // The file's text, or none for no file; what is read back as "level:launches ..."; the line said; the
    // files the scratch directory then holds besides the levels.
    struct Row { const char* name; std::optional<std::string> text; const char *read, *said, *files; };
    const std::string sentry = "EndConfigFile\n";
    const Row rows[] = {
        {"a new player", std::nullopt, "", "", ""},
        {"notes, and the best of each level", "# notes\nlevel_3 = 9\nlevel_1 = 4   # first\n" + sentry,
         "1:4 3:9 ", "", "progress.inp"},
        {"cut short", "level_1 = 4\nlevel_2 = ", "",
         "progress.inp: it is cut short: it does not end with EndConfigFile; it is kept as progress.inp.bad, "
         "playing as a new player.", "progress.inp.bad"},
        {"garbage after a value", "level_1 = 4\n\x01\x7f\n" + sentry, "",
         "progress.inp: \"level_1\" is not a \"level_N = launches\" line; it is kept as progress.inp.bad.2, "
         "playing as a new player.", "progress.inp.bad progress.inp.bad.2"},
        {"not a level", "level_0 = 4\n" + sentry, "", "progress.inp: \"level_0\" is not a \"level_N = launches\" "
         "line; it is kept as progress.inp.bad.3, playing as a new player.",
         "progress.inp.bad progress.inp.bad.2 progress.inp.bad.3"},
    };
    const ScratchLevels scratch;
    const auto files = [&scratch] {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(scratch.root))
            if (entry.path().filename() != "levels")
                names.insert(entry.path().filename().string());
        std::string listed;
        for (const std::string& name : names)
            listed += (listed.empty() ? "" : " ") + name;
        return listed;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(PROGRESS_FILE);
        if (row.text)
            scratch.write(PROGRESS_FILE, *row.text);
        std::string said;
        std::string read;
        for (const auto& [level, launches] : read_progress(PROGRESS_FILE, said).best_launches)
            read += std::to_string(level) + ":" + std::to_string(launches) + " ";
        EXPECT_EQ(read, row.read);
        EXPECT_EQ(said, row.said);
        EXPECT_EQ(files(), row.files);
    }
    EXPECT_EQ(std::ifstream("progress.inp.bad").peek(), 'l') << "the first broken file is kept as it was";

    // A solve is kept when it is the first or the best, and what is written reads back the same.
    Progress progress;
    EXPECT_TRUE(progress.record(2, 7));
    EXPECT_FALSE(progress.record(2, 7));
    EXPECT_TRUE(progress.record(2, 5));
    EXPECT_FALSE(progress.record(2, 6));
    EXPECT_TRUE(progress.record(1, 3));
    std::string problem;
    ASSERT_TRUE(write_progress(PROGRESS_FILE, progress, problem)) << problem;
    EXPECT_EQ(read_progress(PROGRESS_FILE, problem).best_launches, progress.best_launches);
    EXPECT_EQ(problem, "");
    EXPECT_FALSE(write_progress("missing/progress.inp", progress, problem));
    EXPECT_EQ(problem, "missing/progress.inp: cannot be written (No such file or directory); progress is not saved.");
}

TEST(ProgressFile, AKillWhileItIsWrittenLeavesTheOldFileOrTheNew)
{
    const ScratchLevels scratch;
    std::string problem;
    ASSERT_TRUE(write_progress(PROGRESS_FILE, Progress{{{1, 9}}}, problem));
    for (int round = 0; round < 100; ++round) {
        const pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) { // writes ever longer files until it is killed
            Progress progress;
            for (int32_t level = 1;; ++level) {
                progress.record(level, level);
                write_progress(PROGRESS_FILE, progress, problem);
            }
        }
        usleep(static_cast<useconds_t>(100 + round * 37 % 2000)); // at a different moment each round
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        EXPECT_FALSE(read_progress(PROGRESS_FILE, problem).best_launches.empty()) << "round " << round;
        ASSERT_EQ(problem, "") << "round " << round;
    }
}

} // namespace
