// Whole-file text reading for the loaders.
#pragma once

#include <string>

// True when the file can be opened for reading.
bool file_exists(const std::string& name);

// The whole content of the file, unchanged; empty when it cannot be read.
std::string read_text_file(const std::string& name);
