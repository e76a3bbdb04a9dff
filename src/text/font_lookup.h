// Finding a font file by family name, as the desktop does, rather than by a
// path that differs from one system to the next.
#pragma once

#include <string>

struct FontLookup {
    std::string file;  // the font file fontconfig chose; empty when none
    std::string error; // one line saying why there is none; empty otherwise
};

// Asks fontconfig for its best match for a family such as "DejaVu Sans".
// fontconfig falls back on a similar family (any sans-serif) when the one
// asked for is not installed; only a system with no usable font has none.
FontLookup find_font_file(const std::string& family);
