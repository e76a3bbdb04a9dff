// A fresh scratch directory with an empty levels/, the working directory while it lives, so
// that tests load levels the way the game does.
#pragma once

#include <filesystem>
#include <string>

struct ScratchLevels {
    ScratchLevels();
    ~ScratchLevels();
    // Writes a file below the scratch directory; returns its name.
    std::string write(const std::string& name, const std::string& text) const;
    const std::filesystem::path home, root;
};

// A file's bytes; empty when it cannot be read.
std::string file_text(const std::string& file_name);

// A level file of the given size holding "x y z value ..."; "cubes" counts them unless given.
std::string level_text(int size, const std::string& entries, int cubes = -1);
