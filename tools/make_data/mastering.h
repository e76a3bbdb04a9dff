// Readying a synthesised sound for the game.
#pragma once

#include "synth.h"

#include <cstdint>
#include <string>
#include <vector>

// Returns `sound` as 16-bit samples: no constant offset, a start that does
// not click, a short fade into 10 ms of digital silence at the end, and its
// loudest sample at `peak_dbfs` decibels below full scale. Throws
// std::logic_error naming the sound when a sample is not a number, when it
// is silent, or when it is not loud yet 10 ms in: the game's sounds mark a
// moment, and a recording of the game finds them by their starts.
std::vector<int16_t> master(const Samples& sound, double peak_dbfs, const std::string& name);
