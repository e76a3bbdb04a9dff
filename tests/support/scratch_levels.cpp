#include "scratch_levels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

// One directory per process: CTest runs tests, and other builds, side by side.
ScratchLevels::ScratchLevels()
    : home(fs::current_path()), root(fs::path(::testing::TempDir()) / ("tirak-levels-" + std::to_string(getpid())))
{
    fs::remove_all(root);
    fs::create_directories(root / "levels");
    fs::current_path(root);
}

ScratchLevels::~ScratchLevels()
{
    std::error_code ignored;
    fs::current_path(home, ignored);
    fs::remove_all(root, ignored);
}

std::string ScratchLevels::write(const std::string& name, const std::string& text) const
{
    std::ofstream(root / name, std::ios::binary) << text;
    return name;
}

std::string level_text(int size, const std::string& entries)
{
    std::istringstream numbers(entries);
    int integers = 0;
    for (int value = 0; numbers >> value;)
        ++integers;
    return "size = " + std::to_string(size) + "\ncubes = " + std::to_string(integers / 4) + "\nlevel = " + entries + "\n";
}
