// The player's progress: which levels are solved, and the fewest launches
// each took. Levels are known by their file's number, 1 to N.
#pragma once

#include <cstdint>
#include <map>

struct Progress {
    std::map<int32_t, int32_t> best_launches; // level file number -> launches

    bool solved(int32_t level_file) const { return best_launches.count(level_file) > 0; }
    // Records a solve; true when it is the level's first or its best.
    bool record(int32_t level_file, int32_t launches);
};
