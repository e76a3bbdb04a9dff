#include "gl/text_file.h"

#include <fstream>
#include <iterator>

bool file_exists(const std::string& name)
{
    const std::ifstream file(name);
    return file.good();
}

std::string read_text_file(const std::string& name)
{
    std::ifstream file(name);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
