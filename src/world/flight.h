// The flight of the ship as the frame loop plays it: one step of the rules
// a frame, on the game's own ship and the program-wide launch and flight
// flags.
#pragma once

class Game;

// What the game prints when a flight would go round for ever, before the
// level starts again; after the level's file name.
constexpr const char* ENDLESS_FLIGHT_LINE = ": the beamers send the ship round for ever; the level starts again.";

// One frame of flight: first the answers to R, U and H, then one step of
// the rules, then the next level or the same one again when the step ends
// that way. Launches are told to the history that U takes back.
void flight_step(Game& game);
