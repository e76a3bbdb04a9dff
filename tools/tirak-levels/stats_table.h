// The table `tirak-levels stats` prints, in Markdown.
#pragma once

#include "world/level_stats.h"

#include <string>

// The header, then one row for each level.
std::string stats_header();
std::string stats_row(const std::string& file, const std::string& name, const LevelStats& stats);
