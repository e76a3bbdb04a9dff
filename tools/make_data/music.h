// The game's music: slow ambient pieces, each one seamless loop, made by
// the instruments of ambient.h.
#pragma once

#include "ambient.h"

#include <string>
#include <vector>

struct Piece {
    std::string name; // the file is music/<name>
    Stereo (*make)();
};

// Every piece the game plays.
std::vector<Piece> music_pieces();

// Masters the piece to the game's music loudness and writes it to `path`
// as Ogg Vorbis. Throws std::logic_error naming the piece when it would
// come out too near full scale at that loudness.
void write_piece(const Piece& piece, const std::string& path);

// The pieces (music_pieces.cpp).
Stereo make_drift();   // levels 1 to 10
Stereo make_lattice(); // levels 11 to 20
Stereo make_summit();  // levels 21 to 30 and the player's own
