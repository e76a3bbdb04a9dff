// Writing music as Ogg Vorbis through libsndfile, the same bytes on every run.
#pragma once

#include <string>
#include <vector>

// Writes interleaved samples in [-1, 1] as an Ogg Vorbis file at the
// given quality (0 to 1). Throws std::runtime_error naming the file.
void save_ogg_vorbis(const std::vector<float>& samples, int channels, int rate, double quality,
                     const std::string& path);
