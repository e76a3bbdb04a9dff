// tirak-levels: checks, solves, shows, measures and makes level files with
// the game's own loader, flight rules and solver.
//
//   tirak-levels check FILE...    every problem as "FILE: problem"
//   tirak-levels solve FILE       dead ends, then "N launches: ..." or "no solution"
//   tirak-levels show FILE        the grid as text, one y layer at a time
//   tirak-levels stats FILE...    a table: size, cubes, beamers, launches, ...
//   tirak-levels hints FILE...    the slowest hint from any resting place
//   tirak-levels generate OPTION...   a new level file
//   tirak-levels code FILE        the level as a code to share, one line
//   tirak-levels decode CODE      the level file a code holds
//   tirak-levels --help, --version

#include "level_generate.h"
#include "stats_table.h"

#include "config/config_file.h"
#include "editor/draft_file.h"
#include "editor/level_code.h"
#include "world/flight_rules.h"
#include "world/level_check.h"
#include "world/level_loader.h"
#include "world/level_search.h"
#include "world/level_show.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <set>
#include <string>

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_PROBLEM = 1;
constexpr int EXIT_USAGE = 2;

constexpr const char* USAGE =
    "usage: tirak-levels check FILE... | solve FILE | show FILE | stats FILE... | hints FILE...\n"
    "       tirak-levels code FILE | decode CODE\n"
    "       tirak-levels generate [--seed N] [--size 2..16] [--launches N] [--cubes N] [--steps N]\n"
    "                             [--beamers] [--vertical] [--dead-ends]\n"
    "       tirak-levels --help | --version";

// A wrong use: the usage, where it does not mix with a command's output.
int usage()
{
    std::cerr << USAGE << std::endl;
    return EXIT_USAGE;
}

int check(int count, char** files)
{
    int status = EXIT_OK;
    for (int k = 0; k < count; ++k)
        for (const std::string& problem : check_level_file(files[k])) {
            std::cout << files[k] << ": " << problem << std::endl;
            status = EXIT_PROBLEM;
        }
    return status;
}

// Why a file the loader refused cannot be used, in the check's words.
void say_refused(const std::string& file_name, const std::string& problem)
{
    std::cerr << file_name << ": " << problem << std::endl;
}

void say_unread(const ConfigFile::file_not_found& unread)
{
    say_refused(unread.file_name, unread.missing ? "cannot be opened" : unread.problem);
}

// Loads a file as the game would; on failure says why in the check's words.
bool load_or_say(const std::string& file_name, PlayLevel& level)
{
    try {
        Result<PlayLevel> loaded = load_play_level(file_name);
        if (loaded) {
            level = std::move(loaded.value());
            return true;
        }
        say_refused(file_name, loaded.problem());
    } catch (const ConfigFile::file_not_found& unread) {
        say_unread(unread);
    }
    return false;
}

int solve(const std::string& file_name)
{
    // A file the loader refuses has no solution to look for: its reason is all there is to say.
    PlayLevel level;
    if (!load_or_say(file_name, level))
        return EXIT_PROBLEM;
    const LevelSearch search = search_level(level.grid, level.start);

    // A cell can be a dead end in either flight phase; name it once.
    std::set<std::array<int32_t, 3>> named;
    for (const int state : search.dead_ends) {
        const auto& cell = search.states[state].cell;
        if (named.insert(cell).second)
            std::cout << "dead end: " << cell[0] << ' ' << cell[1] << ' ' << cell[2] << std::endl;
    }

    if (!search.solvable) {
        std::cout << "no solution" << std::endl;
        return EXIT_PROBLEM;
    }
    std::cout << search.solution.size() << " launches:";
    for (const int heading : search.solution)
        std::cout << ' ' << LAUNCH_HEADINGS[heading].name;
    std::cout << std::endl;
    return EXIT_OK;
}

int show(const std::string& file_name)
{
    try {
        const Result<LevelFile> level = read_level_file(file_name);
        if (!level) {
            say_refused(file_name, level.problem());
            return EXIT_PROBLEM;
        }
        LevelGrid grid;
        fill_level_grid(level.value(), grid);
        if (!level->name.empty())
            std::cout << "name: " << level->name << "\n";
        std::cout << show_level(grid);
        return EXIT_OK;
    } catch (const ConfigFile::file_not_found& unread) {
        say_unread(unread);
    }
    return EXIT_PROBLEM;
}

int stats(int count, char** files)
{
    // The table only when it has a row: a header alone would read as levels without figures.
    int status = EXIT_OK;
    std::string rows;
    for (int k = 0; k < count; ++k) {
        PlayLevel level;
        if (load_or_say(files[k], level))
            rows += stats_row(files[k], level.name, measure_level(level.grid, level.start));
        else
            status = EXIT_PROBLEM;
    }
    if (!rows.empty())
        std::cout << stats_header() << rows;
    return status;
}

// What H costs in play: a search from where the ship rests. The fastest of
// a few tries from each resting state, so that other programs on the
// machine count less, and the slowest state of each level.
int hints(int count, char** files)
{
    constexpr int TRIES = 3;
    int status = EXIT_OK;
    for (int k = 0; k < count; ++k) {
        PlayLevel level;
        if (!load_or_say(files[k], level)) {
            status = EXIT_PROBLEM;
            continue;
        }
        const std::vector<RestingShip> states = search_level(level.grid, level.start).states;
        double slowest = 0.0;
        RestingShip slowest_from;
        for (const RestingShip& from : states) {
            double fastest = 1e9;
            for (int attempt = 0; attempt < TRIES; ++attempt) {
                const auto start = std::chrono::steady_clock::now();
                search_level(level.grid, from);
                fastest = std::min(fastest, std::chrono::duration<double, std::milli>(
                                                std::chrono::steady_clock::now() - start).count());
            }
            if (fastest > slowest) {
                slowest = fastest;
                slowest_from = from;
            }
        }
        std::printf("%s: slowest hint %.2f ms, from %d %d %d, of %zu resting states\n", files[k], slowest,
                    slowest_from.cell[0], slowest_from.cell[1], slowest_from.cell[2], states.size());
    }
    return status;
}

int code(const std::string& file_name)
{
    try {
        const Result<LevelDraft> draft = read_draft(file_name);
        const Result<std::string> code = draft ? level_code(draft.value()) : Failure{draft.problem()};
        if (!code) {
            say_refused(file_name, code.problem());
            return EXIT_PROBLEM;
        }
        std::cout << code.value() << std::endl;
        return EXIT_OK;
    } catch (const ConfigFile::file_not_found& unread) {
        say_unread(unread);
    }
    return EXIT_PROBLEM;
}

// The level file in the shipped form, as the editor would save it.
int decode(const std::string& text)
{
    const Result<LevelDraft> draft = read_level_code(text);
    if (!draft) {
        say_refused("level code", draft.problem());
        return EXIT_PROBLEM;
    }
    std::cout << draft_file_text(draft.value());
    return EXIT_OK;
}

// A whole word as a number in [low, high].
bool read_number(const char* word, long long low, long long high, long long& value)
{
    char* end = nullptr;
    value = std::strtoll(word, &end, 10);
    return end != word && *end == '\0' && value >= low && value <= high;
}

int generate(int count, char** words)
{
    GenerateOptions options;
    for (int k = 0; k < count; ++k) {
        const std::string word = words[k];
        long long value = 0;
        const bool has_value = k + 1 < count;
        if (word == "--beamers")
            options.beamers = true;
        else if (word == "--vertical")
            options.vertical = true;
        else if (word == "--dead-ends")
            options.dead_ends = true;
        else if (word == "--seed" && has_value && read_number(words[++k], 0, INT64_MAX, value))
            options.seed = static_cast<uint64_t>(value);
        else if (word == "--size" && has_value && read_number(words[++k], 2, 16, value))
            options.size = static_cast<int32_t>(value);
        else if (word == "--launches" && has_value && read_number(words[++k], 1, 1000, value))
            options.launches = static_cast<int32_t>(value);
        else if (word == "--cubes" && has_value && read_number(words[++k], 0, MAX_LEVEL_ENTRIES, value))
            options.max_cubes = static_cast<int32_t>(value);
        else if (word == "--steps" && has_value && read_number(words[++k], 0, 10000000, value))
            options.steps = static_cast<int32_t>(value);
        else
            return usage();
    }
    const GeneratedLevel level = generate_level(options);
    std::cout << level.text;
    if (level.as_asked)
        return EXIT_OK;
    std::cerr << "tirak-levels generate: not everything asked for was reached; the level is the nearest found"
              << std::endl;
    return EXIT_PROBLEM;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::cout << USAGE << "\nThe manual page tirak-levels(6) says what each command does." << std::endl;
        return EXIT_OK;
    }
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "tirak-levels " << TIRAK_VERSION << std::endl;
        return EXIT_OK;
    }
    if (argc >= 2 && std::string(argv[1]) == "generate")
        return generate(argc - 2, argv + 2);
    if (argc < 3)
        return usage();
    const std::string command = argv[1];
    if (command == "check")
        return check(argc - 2, argv + 2);
    if (command == "solve" && argc == 3)
        return solve(argv[2]);
    if (command == "show" && argc == 3)
        return show(argv[2]);
    if (command == "stats")
        return stats(argc - 2, argv + 2);
    if (command == "hints")
        return hints(argc - 2, argv + 2);
    if (command == "code" && argc == 3)
        return code(argv[2]);
    if (command == "decode" && argc == 3)
        return decode(argv[2]);
    return usage();
}
