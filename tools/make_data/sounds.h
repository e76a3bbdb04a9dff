// The game's sound effects, synthesised.
#pragma once

#include "synth.h"

#include <string>
#include <vector>

struct Sound {
    std::string name; // the file is sounds/<name>
    Samples samples;
    double peak_dbfs; // its loudest sample, in decibels below full scale
};

// Every sound the game plays.
std::vector<Sound> make_sounds();

// The ship in flight (sounds_flight.cpp).
Samples make_launch();
Samples make_stop();
Samples make_beam();
Samples make_restart();

// The level as a whole (sounds_level.cpp).
Samples make_goal();
Samples make_select();

// Undo and the hint (sounds_help.cpp).
Samples make_undo();
Samples make_hint();
Samples make_no_way();
