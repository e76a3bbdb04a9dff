#include "stats_table.h"

std::string stats_header()
{
    return "| level | name | size | cubes | beamers | launches | shortest ways | dead ends | resting places | needs |\n"
           "|---|---|---|---|---|---|---|---|---|---|\n";
}

std::string stats_row(const std::string& file, const std::string& name, const LevelStats& stats)
{
    std::string needs = stats.needs_vertical ? "up or down" : "";
    if (stats.needs_beamers)
        needs += needs.empty() ? "beamers" : ", beamers";
    const auto cell = [](auto value) { return " " + std::to_string(value) + " |"; };
    return "| " + file + " | " + (name.empty() ? "-" : name) + " |" + cell(stats.size) + cell(stats.cubes) + cell(stats.beamers) +
           (stats.solvable ? cell(stats.launches) + cell(stats.shortest_ways) : " no way | - |") +
           cell(stats.dead_ends) + cell(stats.resting_places) + " " + (needs.empty() ? "-" : needs) + " |\n";
}
