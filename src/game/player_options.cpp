#include "game/player_options.h"

namespace {

const char* const TEXT_SIZE_NAMES[] = {"small", "medium", "large"};
// Large stays short of the help panel's width at 4:3.
const float TEXT_SCALES[] = {0.8f, 1.0f, 1.25f};

} // namespace

const char* text_size_name(TextSize size)
{
    return TEXT_SIZE_NAMES[static_cast<int>(size)];
}

std::optional<TextSize> text_size_named(const std::string& name)
{
    for (int size = 0; size < 3; ++size)
        if (name == TEXT_SIZE_NAMES[size])
            return static_cast<TextSize>(size);
    return std::nullopt;
}

float text_scale(TextSize size)
{
    return TEXT_SCALES[static_cast<int>(size)];
}
