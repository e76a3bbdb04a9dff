// What the fuzz targets share: the readers under test take file names, so
// each input is written to a scratch file first, and a broken promise of
// the code under test is a crash the fuzzer keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the input to `name` in a scratch directory of this process (made on
// first use, removed at exit) and returns the file's path.
std::string write_fuzz_input(const uint8_t* data, size_t size, const std::string& name);

// Says what went wrong on stderr and aborts, so that libFuzzer saves the
// input as a crash.
[[noreturn]] void fuzz_failure(const char* what, const std::string& detail);

#define FUZZ_EXPECT(condition, detail)                                                                 \
    do {                                                                                                \
        if (!(condition))                                                                               \
            fuzz_failure(#condition, (detail));                                                         \
    } while (false)
