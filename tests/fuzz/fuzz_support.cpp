#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string scratch_directory;

void remove_scratch_directory()
{
    std::error_code ignored;
    fs::remove_all(scratch_directory, ignored);
}

const std::string& scratch()
{
    if (scratch_directory.empty()) {
        std::string pattern = (fs::temp_directory_path() / "tirak-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror(pattern.c_str());
            std::abort();
        }
        scratch_directory = pattern;
        std::atexit(remove_scratch_directory);
    }
    return scratch_directory;
}

} // namespace

std::string write_fuzz_input(const uint8_t* data, size_t size, const std::string& name)
{
    const std::string path = scratch() + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        std::cerr << path << ": cannot write the fuzz input" << std::endl;
        std::abort();
    }
    return path;
}

void fuzz_failure(const char* what, const std::string& detail)
{
    std::cerr << "fuzz check failed: " << what << "\n  " << detail << std::endl;
    std::abort();
}
