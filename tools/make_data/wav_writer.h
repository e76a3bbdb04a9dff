// Writing sounds as WAV files: 16-bit PCM, one channel. One channel because
// OpenAL places only mono sources in space, and the game places most sounds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes samples as path with the canonical 44-byte header. Throws
// std::runtime_error naming the file when it cannot be written.
void save_wav(const std::vector<int16_t>& samples, int sample_rate, const std::string& path);
