// A scratch working directory for tests that load levels the way the game
// does: from "levels/N.lev" below the current directory.
#pragma once

#include <filesystem>
#include <string>

class ScratchLevels {
public:
    // Makes a fresh directory with an empty levels/ and moves into it; the
    // destructor moves back and removes it.
    ScratchLevels();
    ~ScratchLevels();
    // Writes a file below the scratch directory; returns its name.
    std::string write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path home, root;
};

// A level file of the given size holding "x y z value ..."; "cubes" counts them.
std::string level_text(int size, const std::string& entries);
