// Finding a font file by family name, as the desktop does, rather than by a
// path that differs from one system to the next.
#pragma once

#include "result/result.h"

#include <string>

// Asks fontconfig for its best match for a family such as "DejaVu Sans":
// the font file it chose, or one line saying why there is none. fontconfig
// falls back on a similar family (any sans-serif) when the one asked for is
// not installed; only a system with no usable font has none.
Result<std::string> find_font_file(const std::string& family);
