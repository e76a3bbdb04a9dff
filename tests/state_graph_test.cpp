// The rules' whole state graph for every shipped level, the stress level and
// two levels that rest in both flight phases and fly round for ever: every
// resting place and where each of the six launches from it lands. The
// expected graphs were written by the rules as they stood when the flight
// became a value; any change to the rules that moves one landing shows here.
#include "world/flight_rules.h"
#include "world/level_loader.h"
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
    LevelGrid grid;
    load_level_file(ROOT + "/" + file, grid);
    const LevelSearch search = search_level(grid, take_ship_start(grid));
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
    std::ifstream expected(ROOT + "/tests/state_graph/graphs.txt");
    ASSERT_TRUE(expected) << "tests/state_graph/graphs.txt";
    std::string file, line, graph;
    int levels = 0;
    const auto compare = [&] {
        if (!file.empty()) {
            EXPECT_EQ(graph_of(file), graph) << file;
        }
    };
    while (std::getline(expected, line)) {
        // A level's graph opens with "FILE: N resting places".
        if (line.find(" resting places") != std::string::npos) {
            compare();
            file = line.substr(0, line.find(": "));
            graph.clear();
            ++levels;
        }
        graph += line + "\n";
    }
    compare();
    EXPECT_EQ(levels, 33);
}

} // namespace
