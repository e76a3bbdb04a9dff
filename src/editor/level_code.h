// Level codes: a draft's grid and name as one short line of text, for a
// player to paste into a chat message and another to paste into the editor.
//
// Version 1, the only one so far, reads
//   tirak.1.PAYLOAD
// PAYLOAD is base64url (A-Z a-z 0-9 - _, no padding) of the body's bytes
// followed by their CRC-32 (that of zlib and PNG), most significant byte
// first. The body is a stream of bits, each field most significant bit
// first, filled into bytes from their top bit and ended by 0 bits up to a
// whole byte:
//   size          7 bits, cells along an edge
//   name length   8 bits, in bytes; then as many bytes of UTF-8
//   then for the ship starts, the goals, the beamers and the cubes in turn:
//   count         W + 1 bits
//   cells         count indices of W bits each, x + size * (y + size * z),
//                 written in increasing order
// W is the fewest bits that hold every index of the grid: the least W with
// 2^W >= size^3 (9 for a grid of 7). Nothing else may follow the checksum.
// A later release reads version 1 as it stands and gives a new format a new
// number.
#pragma once

#include "editor/level_draft.h"
#include "result/result.h"

#include <cstdint>
#include <string>

constexpr int32_t LEVEL_CODE_VERSION = 1;

// The draft's code: its grid and its name, nothing of its notes or its
// file. Fails, with a phrase, for a cell holding anything but a cube, a
// beamer, the ship start or the goal, and for a level the game's loader or
// a level file could not take back whole (a grid over MAX_GRID_SIZE, more
// than MAX_LEVEL_ENTRIES entries, a name with a '#' or a line break, or one
// longer than a title card shows).
Result<std::string> level_code(const LevelDraft& draft);

// The draft a code holds, without a file name: the caller gives it one.
// Spaces and line breaks around the code are ignored. A failure's problem
// is a phrase without a source name, as the loader's are, so that the
// caller frames it ("level code: ..."): not a level code at all, a version
// this game does not read, cut short, altered, or a level the loader would
// refuse. A draft without a ship start is read, as read_draft reads one,
// to be finished.
Result<LevelDraft> read_level_code(const std::string& text);
