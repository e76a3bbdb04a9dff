// Reading a whole small file without trusting it: only a regular file is
// read, never a directory, a pipe or a device that would block or never
// end, and never more than a limit, so that no file can freeze the game or
// fill its memory.
#pragma once

#include "result/result.h"

#include <cstddef>
#include <optional>
#include <string>

// The largest settings or progress file read: a thousand times what the
// game writes, and still read in a blink.
constexpr size_t MOST_SETTINGS_BYTES = size_t{1} << 20;

// What is said of a file that is not there.
constexpr const char* MISSING_FILE = "the file is missing or unreadable";

// Whether something is there by that name, without opening it: opening a
// pipe to find out would wait for a writer.
bool path_exists(const std::string& path);

// Reads the file whole when it is a regular file of at most `most_bytes`:
// its text, nothing when there is no such file (for some readers that is no
// problem), or why it was not read, a phrase without the file's name such
// as "it is a directory, not a file". `kind` names the file in the refusal
// of a larger one: "it is 5000000 bytes; a settings file may have at most
// 1048576".
Result<std::optional<std::string>> read_file_text(const std::string& path, size_t most_bytes, const char* kind);
