// The two sets of levels a game can play: ours, shipped in levels/, and the
// player's own in mylevels/. Each is numbered from 1 on its own and goes
// round on its own, so a level the player makes never takes the number of
// one we ship later, nor joins our levels' cycle.
#pragma once

enum class LevelSet { SHIPPED, OWN };

// The directory that holds a set's level files, as the settings key
// "level_set" names it too.
constexpr const char* SHIPPED_LEVELS = "levels";
constexpr const char* OWN_LEVELS = "mylevels";

constexpr const char* level_directory(LevelSet set)
{
    return set == LevelSet::OWN ? OWN_LEVELS : SHIPPED_LEVELS;
}

// Each set's solves are kept in a file of their own, so that the player's
// level 3 and ours are never taken for each other; both files have one
// format.
constexpr const char* level_set_progress_file(LevelSet set)
{
    return set == LevelSet::OWN ? "mylevels/progress.inp" : "progress.inp";
}
