// A scratch working directory for tests that load levels the way the game
// does: from "levels/N.lev" below the current directory.
#pragma once

#include <string>

class ScratchLevels {
public:
    // Makes a fresh directory with an empty levels/ inside and moves into it.
    ScratchLevels();
    // Moves back to the directory the test started in and removes the
    // scratch directory.
    ~ScratchLevels();
    ScratchLevels(const ScratchLevels&) = delete;
    ScratchLevels& operator=(const ScratchLevels&) = delete;

    // Writes text to a file below the scratch directory, such as
    // "levels/1.lev"; returns its path relative to it.
    std::string write(const std::string& name, const std::string& text) const;
    // Writes levels/N.lev.
    std::string write_level(int number, const std::string& text) const;

private:
    std::string home;
    std::string root;
};

// The text of a level file of the given size holding the entries, written
// as "x y z value ..." on one line; "cubes" is their number.
std::string level_text(int size, const std::string& entries);
