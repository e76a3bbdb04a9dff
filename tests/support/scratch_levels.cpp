#include "scratch_levels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

// One directory a process: CTest runs tests, and other builds, side by side.
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

std::string file_text(const std::string& file_name)
{
    std::ostringstream text;
    text << std::ifstream(file_name, std::ios::binary).rdbuf();
    return text.str();
}

std::string level_text(int size, const std::string& entries, int cubes)
{
    std::istringstream numbers(entries);
    const auto integers = std::distance(std::istream_iterator<int>(numbers), std::istream_iterator<int>());
    const auto count = cubes < 0 ? integers / 4 : cubes;
    return "size = " + std::to_string(size) + "\ncubes = " + std::to_string(count) + "\nlevel = " + entries + "\n";
}
