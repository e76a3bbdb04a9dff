#include "scratch_levels.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

namespace fs = std::filesystem;

ScratchLevels::ScratchLevels() : home(fs::current_path().string())
{
    std::string pattern = (fs::path(::testing::TempDir()) / "tirak-levels-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a scratch directory from " + pattern);
    root = pattern;
    fs::create_directory(fs::path(root) / "levels");
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
    std::ofstream(fs::path(root) / name, std::ios::binary) << text;
    return name;
}

std::string ScratchLevels::write_level(int number, const std::string& text) const
{
    return write("levels/" + std::to_string(number) + ".lev", text);
}

std::string level_text(int size, const std::string& entries)
{
    std::istringstream numbers(entries);
    int integers = 0;
    for (int value = 0; numbers >> value;)
        ++integers;
    const int cubes = integers / 4;
    return "size = " + std::to_string(size) + "\ncubes = " + std::to_string(cubes) +
           "\nlevel = " + entries + "\nEndConfigFile\n";
}
