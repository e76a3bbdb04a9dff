#include "support/scratch_levels.h"

#include "editor/draft_file.h"
#include "editor/level_code.h"
#include "level_generate.h"
#include "stats_table.h"
#include "world/flight_rules.h"
#include "world/level_check.h"
#include "world/level_loader.h"
#include "world/level_search.h"
#include "world/level_show.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string cell_text(const std::array<int32_t, 3>& c)
{
    return std::to_string(c[0]) + " " + std::to_string(c[1]) + " " + std::to_string(c[2]);
}

TEST(LevelTools, SolvesByTheShortestWay)
{
    // The result: the launches, then "|" and the dead ends, then "|" and the launches that never end.
    struct Row { const char* name; int size; const char *entries, *result; };
    const Row rows[] = {
        {"a cube to turn at", 5, "0 0 0 5 4 0 0 1 3 0 2 6", "+x +z||"},
        {"a way to the goal only back through the start", 5, "2 0 2 5 4 0 2 6 2 0 0 1 2 0 3 1", "+x||"},
        {"a corner left only by flying out", 5, "0 0 0 5 4 0 0 1 3 0 2 6 0 0 4 1", "+x +z|0 0 3;|"},
        {"through the beamers", 5, "0 0 0 5 1 0 0 2 2 3 4 2 4 3 4 6", "+x||"},
        {"up, across and down onto the goal", 5, "0 0 0 5 0 4 0 1 1 0 0 1 3 3 0 1 2 0 0 6", "+y +x -y||"},
        {"nothing stops the ship", 3, "0 0 0 5 1 1 1 6", "no solution|0 0 0;|"},
        {"between two beamers that send it back for ever", 4, "1 0 0 2 3 0 0 2 2 0 0 5 2 3 0 6",
         "+y||+x from 2 0 0; -x from 2 0 0; "},
        // Resting at the exit beamer 13 0 0 after +z, the picture is in the cell; after -x it is a cell
        // behind, so launched along +x that ship flies a cell farther, to 16 0 0 below the goal.
        {"ships in one cell with their pictures apart", 20,
         "5 0 1 5 5 0 5 2 13 0 0 2 12 0 0 7 13 0 1 7 9 0 1 1 8 0 6 1 17 0 0 1 16 3 0 6",
         "+x +z -x +x +y|13 0 0;|"},
    };
    const ScratchLevels scratch;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PlayLevel level = load_play_level(scratch.write("puzzle.lev", level_text(row.size, row.entries))).value();
        const LevelSearch search = search_level(level.grid, level.start);
        std::string result = search.solvable ? "" : "no solution";
        for (const int heading : search.solution)
            result += (result.empty() ? "" : " ") + std::string(LAUNCH_HEADINGS[heading].name);
        result += "|";
        for (const int state : search.dead_ends)
            result += cell_text(search.states[state].cell) + ";";
        result += "|";
        for (const auto& [state, heading] : search.endless)
            result += std::string(LAUNCH_HEADINGS[heading].name) + " from " + cell_text(search.states[state].cell) + "; ";
        EXPECT_EQ(result, row.result) << show_level(level.grid);
    }
}

TEST(LevelTools, StatsMeasureTheWaysTheDeadEndsAndWhatIsNeeded)
{
    const struct { int size; const char *entries, *row; } rows[] = {
        {5, "0 0 0 5 4 0 0 1 3 0 2 6", "5 | 1 | 0 | 2 | 1 | 0 | 2 | -"},
        {5, "0 0 0 5 3 0 0 1 0 0 3 1 2 0 2 6", "5 | 2 | 0 | 2 | 2 | 0 | 3 | -"},
        {5, "0 0 0 5 4 0 0 1 3 0 2 6 0 0 4 1", "5 | 2 | 0 | 2 | 1 | 1 | 3 | -"},
        {3, "0 0 0 5 1 1 1 6", "3 | 0 | 0 | no way | - | 1 | 1 | -"},
        {4, "1 0 0 2 3 0 0 2 2 0 0 5 2 3 0 6", "4 | 0 | 2 | 1 | 1 | 0 | 1 | up or down"},
        {5, "0 0 0 5 1 0 0 2 3 0 2 2 4 0 2 1 3 0 0 1 3 4 1 1 0 3 1 6 0 0 4 1",
         "5 | 4 | 2 | 4 | 1 | 1 | 5 | up or down, beamers"},
    };
    const ScratchLevels scratch;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entries);
        const PlayLevel level = load_play_level(scratch.write("l.lev", level_text(row.size, row.entries))).value();
        EXPECT_EQ(stats_row("l", "", measure_level(level.grid, level.start)), "| l | - | " + std::string(row.row) + " |\n");
    }
}

TEST(LevelTools, GenerateMakesTheSameCheckedLevelFromTheSameSeed)
{
    GenerateOptions options;
    options.size = 5;
    options.launches = 3;
    options.steps = 200;
    options.vertical = options.dead_ends = true;
    const GeneratedLevel level = generate_level(options);
    EXPECT_EQ(generate_level(options).text, level.text);
    EXPECT_TRUE(level.as_asked);
    const ScratchLevels scratch;
    EXPECT_EQ(check_level_file(scratch.write("made.lev", level.text)), std::vector<std::string>{}) << level.text;
    const PlayLevel made = load_play_level("made.lev").value();
    const LevelStats stats = measure_level(made.grid, made.start);
    EXPECT_GE(stats.launches, 3);
    EXPECT_TRUE(stats.needs_vertical && stats.dead_ends > 0 && stats.resting_places >= 9);
    options.seed = 2;
    EXPECT_NE(generate_level(options).text, level.text);
}

TEST(ShippedLevels, EachChecksCleanAndTheyClimb)
{
    const std::string folder = TIRAK_DATA_DIR "/levels/";
    std::vector<LevelStats> levels;
    for (std::string file; std::ifstream(file = folder + std::to_string(levels.size() + 1) + ".lev");) {
        SCOPED_TRACE(file);
        EXPECT_EQ(check_level_file(file), std::vector<std::string>{});
        std::string title;
        std::getline(std::ifstream(file), title);
        const std::string opening = "# Level " + std::to_string(levels.size() + 1) + ": ";
        EXPECT_EQ(title.rfind(opening, 0), 0u) << title;
        EXPECT_EQ(read_level_file(file).value().name, title.substr(opening.size())) << "named as its notes name it";
        const PlayLevel play = load_play_level(file).value();
        const LevelStats& level = levels.emplace_back(measure_level(play.grid, play.start));
        EXPECT_TRUE(level.solvable);
        EXPECT_LE(level.cubes, 40);
        if (levels.size() <= 5)
            EXPECT_TRUE(level.launches >= 2 && level.launches <= 5) << level.launches << " launches introduce";
        else
            EXPECT_GE(level.resting_places, 3 * level.launches) << "a puzzle, not a corridor";
    }
    ASSERT_GE(levels.size(), 30u);
    const auto launches = [&levels](size_t from, size_t to) {
        int32_t sum = 0;
        for (size_t level = from; level < to; ++level)
            sum += levels[level].launches;
        return sum;
    };
    EXPECT_GE(launches(levels.size() - 10, levels.size()) / 10.0, 3 * launches(0, 5) / 5.0) << "the last ten";
    const auto levels_where = [&levels](auto holds) { return std::count_if(levels.begin(), levels.end(), holds); };
    EXPECT_GE(levels_where([](const LevelStats& l) { return l.launches >= 20; }), 3);
    EXPECT_GE(levels_where([](const LevelStats& l) { return l.beamers == 2 && l.needs_beamers; }), 10);
    EXPECT_GE(levels_where([](const LevelStats& l) { return l.needs_vertical; }), 15);
    EXPECT_GE(levels_where([](const LevelStats& l) { return l.dead_ends > 0; }), 10);
}

TEST(LevelTools, AnEndlessFlightIsKnownAsSoonAsItRepeats)
{
    const ScratchLevels scratch;
    std::vector<int64_t> frames; // not after a budget that grows with the grid: the largest took minutes
    for (const int size : {4, MAX_GRID_SIZE}) {
        const PlayLevel level = load_play_level(scratch.write("loop.lev", level_text(size, "1 0 0 2 3 0 0 2 2 0 0 5"))).value();
        frames.push_back(play_launch(level.grid, level.start, 0).frames); // +x, round for ever
    }
    EXPECT_EQ(frames[0], frames[1]);
}

TEST(LevelCode, CarriesEveryShippedLevelAndSaysWhyATextIsNotOne)
{
    const ScratchLevels scratch;
    std::string code;
    int32_t number = 1;
    for (std::string file; std::ifstream(file = TIRAK_DATA_DIR "/levels/" + std::to_string(number) + ".lev"); ++number) {
        SCOPED_TRACE(file);
        const LevelDraft draft = read_draft(file).value();
        code = level_code(draft).value();
        EXPECT_LT(code.size(), 200u);
        const LevelDraft read = read_level_code(" " + code + "\n").value();
        EXPECT_EQ(read.name, draft.name);
        EXPECT_EQ(read.grid.cells, draft.grid.cells);
        LevelGrid loaded;
        ASSERT_TRUE(load_level_file(scratch.write("pasted.lev", draft_file_text(read)), loaded));
        EXPECT_EQ(loaded.cells, draft.grid.cells);
    }
    ASSERT_GE(number, 31);
    // The last level's code, cut short anywhere or with any one character changed.
    const std::string not_a_code = "it is not a level code (one begins \"tirak.1.\")";
    const size_t opening = std::string("tirak.1.").size();
    for (size_t at = 0; at < code.size(); ++at) {
        EXPECT_EQ(read_level_code(code.substr(0, at)).problem(),
                  at < opening ? not_a_code : "it is cut short: characters are missing from its end") << at;
        std::string altered = code;
        altered[at] = altered[at] == 'A' ? 'B' : 'A';
        EXPECT_FALSE(read_level_code(altered)) << altered;
    }

    // Written from the format's description alone, by another program: version 1 reads so for good.
    const std::string hi = "tirak.1.BgSQ0ggBEAC0-YFQhw";
    LevelDraft draft = read_level_code(hi).value();
    EXPECT_EQ(draft.name + " " + std::to_string(draft.grid.size), "Hi 3");
    EXPECT_EQ(draft_level_file(draft).list, (std::vector<int32_t>{0, 0, 0, 5, 2, 0, 0, 6, 1, 1, 1, 1}));
    EXPECT_EQ(level_code(draft).value(), hi);
    draft.name = std::string(33, 'x');
    EXPECT_EQ(level_code(draft).problem(), "the name is 33 characters long; a level code carries at most 32");
    draft.name = "";
    draft.grid.cells[5] = 7;
    EXPECT_EQ(level_code(draft).problem(), "cell 2 1 0 holds 7, which a level code cannot carry");
    draft.grid = empty_grid(MAX_GRID_SIZE);
    std::fill_n(draft.grid.cells.begin(), MAX_LEVEL_ENTRIES, CELL_CUBE);
    draft.name = "Über " + std::string(27, 'x');
    EXPECT_EQ(read_level_code(level_code(draft).value()).value().name, draft.name) << "the most a level may hold";
    draft.grid.cells[MAX_LEVEL_ENTRIES] = CELL_CUBE;
    EXPECT_EQ(level_code(draft).problem(), "it has 16385 entries, more than the 16384 a level may have");

    struct Row { const char *name, *text, *problem; };
    const Row rows[] = {
        {"empty", "", not_a_code.c_str()},
        {"another opening", "level.1.BgSQ0ggBEAC0-YFQhw", not_a_code.c_str()},
        {"a character outside base64url", "tirak.1.BgSQ0ggB+AC0-YFQhw",
         "it is not a level code: it holds \"+\", which no level code holds"},
        {"a later version", "tirak.2.BgSQ0ggBEAAANY0nEg", "it is a level code of version 2; this game reads version 1"},
        {"one character altered", "tirak.1.BgSQ1ggBEAC0-YFQhw", "it has been altered: its checksum does not match"},
        {"one character added", "tirak.1.BgSQ0ggBEAC0-YFQhwA", "it goes on past its end: characters were added to it"},
        {"the largest grid, its last cell the ship's", "tirak.1.gAAAAH__8AAAAAAAAADjrlAx", ""},
        {"a grid too large", "tirak.1.ggAAACAAAAAAAAAAAAAAt07NGg",
         "size is 65, larger than the largest grid of 64 cells a side"},
        {"a cell outside the grid", "tirak.1.BgAOwAAAFuujzQ", "cell index 27 lies outside the grid of size 3"},
        {"a cell given twice", "tirak.1.BgAJQAASgP30I_s", "cell 2 1 0 is given twice"},
        {"a name with a line feed", "tirak.1.BgbCFMQIAAAASZjMeA",
         "the name holds a line break, which a level file cannot keep"},
        {"a name with a note in it", "tirak.1.BgbCRsQIAAAACN5lhA",
         "the name holds a \"#\", which a level file reads as the start of a note"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(read_level_code(row.text).problem(), row.problem) << row.name;
}

TEST(LevelTools, CheckNamesEveryProblem)
{
    struct Row { const char* name; std::string text; std::vector<std::string> problems; };
    const std::string never_ends = " never ends: the beamers send the ship round for ever", outside = " lies outside";
    const std::string no_start = "no ship start (a cell with the value 5)", no_goal = "no goal (a cell with the value 6)";
    const Row rows[] = {
        {"playable", level_text(3, "0 0 0 5 2 0 0 6"), {}},
        {"negative size", level_text(-4, "0 0 0 5"), {"size is -4, which is negative"}},
        {"no size", "cubes = 1\nlevel = 0 0 0 5\n", {"size is missing or 0, so the grid has no cells",
         "entry 1 (0 0 0 5)" + outside + " the grid of size 0", no_start, no_goal}},
        {"no entries", "size = 3\ncubes = 0\n", {no_start, no_goal}},
        {"entries outside", level_text(3, "0 0 0 5 2 0 0 6 3 0 0 1 0 -1 2 1"),
         {"entry 3 (3 0 0 1)" + outside + " the grid of size 3", "entry 4 (0 -1 2 1)" + outside + " the grid of size 3"}},
        {"one cell twice, one beamer", level_text(3, "0 0 0 5 2 0 0 6 1 1 1 1 1 1 1 2"),
         {"entries 3 and 4 both fill cell 1 1 1", "1 beamer; beamers come in one pair"}},
        {"a last entry cut short", level_text(3, "0 0 0 5 2 0 0 6 9 9", 3), {"the level list holds 10 integers, but "
         "cubes = 3 asks for 12; the missing entries read as 0 0 0 0 and empty cell 0 0 0"}},
        {"entries left over", level_text(3, "0 0 0 5 2 0 0 6", 1),
         {"the level list holds 8 integers, but cubes = 1 asks for 4; the rest is ignored", no_goal}},
        {"two ship starts", level_text(3, "0 2 2 5 1 0 0 5 2 0 0 6"), {"2 ship starts; a level has one"}},
        {"a name too long for the card, counted in characters", "name = Über " + std::string(28, 'x') + "\n" +
         level_text(3, "0 0 0 5 2 0 0 6"), {"the name is 33 characters long; a title card shows 32"}},
        {"a name that just fits", "name = Über " + std::string(27, 'x') + "\n" + level_text(3, "0 0 0 5 2 0 0 6"), {}},
        {"a goal out of reach", level_text(3, "0 0 0 5 1 1 1 6"), {"the goal cannot be reached from the ship start"}},
        // Into the second beamer, out of the first right behind the ship, for ever.
        {"three beamers", level_text(5, "2 1 0 5 1 1 0 2 3 1 0 2 3 4 4 2 2 3 0 6"),
         {"3 beamers; beamers come in one pair", "launching +x from 2 1 0" + never_ends}},
        // Resting in 2 1 1 at the start and, short of the hidden wall, back from 2 1 4: named once.
        {"one cell, two states", level_text(5, "2 1 1 5 1 1 1 2 3 1 1 2 2 1 4 1 2 1 0 7 2 3 1 6"),
         {"launching +x from 2 1 1" + never_ends, "launching -x from 2 1 1" + never_ends}},
    };
    const ScratchLevels scratch;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(check_level_file(scratch.write("checked.lev", row.text)), row.problems);
    }
    EXPECT_EQ(check_level_file("missing.lev"), std::vector<std::string>{"cannot be opened"});
}

} // namespace
