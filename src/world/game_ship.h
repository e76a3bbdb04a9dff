// The ship as the running game holds it: its cell and phase in the Game,
// its picture in the Game's list of cells, and the design's program-wide
// launch and flight flags. These copy it into the rules' values and back.
#pragma once

#include "game/ship_motion.h"

class Game;

RestingShip resting_ship(const Game& game);
// Puts the ship at rest as given; the flight flags are left alone.
void place_ship(Game& game, const RestingShip& ship);

ShipMotion ship_motion(const Game& game);
void store_ship_motion(Game& game, const ShipMotion& motion);
