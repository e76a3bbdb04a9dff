// The rules' whole state graph for every shipped level, the stress level and
// two levels that rest in both flight phases and fly round for ever: every
// resting place and where each of the six launches from it lands. The
// expected graphs were written by the rules as they stood when the flight
// became a value; any change to the rules that moves one landing shows here.
#include "world/flight_rules.h"
#include "world/level_search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const std::string ROOT = TIRAK_DATA_DIR "/..";

std::string graph_of(const std::string& file)
{
    const PlayLevel level = load_play_level(ROOT + "/" + file).value();
    const LevelSearch search = search_level(level.grid, level.start);
    std::ostringstream text;
    text << file << ": " << search.states.size() << " resting places\n";
    for (size_t state = 0; state < search.states.size(); ++state) {
        const RestingShip& ship = search.states[state];
        char line[160] = {};
        std::snprintf(line, sizeof line, "%zu: %d %d %d %.9g %.9g %.9g %.9g ->", state, ship.cell[0], ship.cell[1],
                      ship.cell[2], ship.flight_progress, ship.drawn.x, ship.drawn.y, ship.drawn.z);
        text << line;
        for (const int move : search.moves[state])
            text << ' ' << move;
        text << '\n';
    }
    return text.str();
}

TEST(StateGraph, EveryLandingIsAsItWas)
{
    std::string graphs;
    for (int level = 1; level <= 30; ++level)
        graphs += graph_of("data/levels/" + std::to_string(level) + ".lev");
    for (const char* file : {"bench/stress16.lev", "tests/state_graph/phases.lev", "tests/state_graph/loops.lev"})
        graphs += graph_of(file);
    std::ostringstream expected;
    expected << std::ifstream(ROOT + "/tests/state_graph/graphs.txt").rdbuf();
    EXPECT_EQ(graphs, expected.str()); // on a difference gtest shows the lines that differ
}

} // namespace
