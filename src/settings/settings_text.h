// Changing the settings file as the player wrote it: one value changes, and
// the notes, the spacing, the order of the lines and every key the game
// does not know stay as they were.
#pragma once

#include "result/result.h"

#include <string>
#include <utility>
#include <vector>

// The text of a settings file ("key = value" lines, # notes, EndConfigFile
// at its end) with `key` given `value`: the line the reader takes the key
// from keeps its key, its spacing and its note, and loses any lines its
// old value went on over; a key not there yet goes in just before
// EndConfigFile, or at the end. A value the file already gives comes back
// as the same text, byte for byte. A value must be one line without '#'.
std::string with_value(const std::string& text, const std::string& key, const std::string& value);

// Gives the settings file these values, written whole through a new file
// and a rename; a file they change nothing in is not written at all. A
// failure's problem is a phrase for the player's line: "it cannot be
// written (Read-only file system)".
Result<> change_settings(const std::string& path, const std::vector<std::pair<std::string, std::string>>& values);
