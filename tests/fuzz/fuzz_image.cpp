// Fuzz target: arbitrary bytes as a texture a player shares, decoded by
// FreeImage through the game's header check, then made into every smaller
// mip level the way the game does before the upload.
//
// A side of at most 1024 keeps one input well under a second; the header
// check is the same code for any limit.
#include "fuzz_support.h"

#include "render/image_file.h"
#include "render/mip_chain.h"

#include <FreeImage.h>

#include <algorithm>

namespace {

constexpr unsigned MAX_SIDE = 1024;

bool one_line(const std::string& text)
{
    return !text.empty() && text.find('\n') == std::string::npos;
}

std::string size_of(const MipLevel& level)
{
    return std::to_string(level.width) + "*" + std::to_string(level.height) + " with " +
           std::to_string(level.texels.size()) + " bytes";
}

bool known_type(const uint8_t* data, size_t size)
{
    FIMEMORY* memory = FreeImage_OpenMemory(const_cast<uint8_t*>(data), static_cast<DWORD>(size));
    const bool known = FreeImage_GetFileTypeFromMemory(memory, 0) != FIF_UNKNOWN;
    FreeImage_CloseMemory(memory);
    return known;
}

bool whole(const MipLevel& level)
{
    return level.texels.size() == size_t{level.width} * level.height * 4;
}

void check_mip_chain(const MipLevel& level0)
{
    const MipLevel* above = &level0;
    MipLevel below;
    while (above->width > 1 || above->height > 1) {
        MipLevel next = half_level(*above);
        FUZZ_EXPECT(next.width == std::max(1u, above->width / 2) && next.height == std::max(1u, above->height / 2) &&
                        whole(next),
                    "the level below " + size_of(*above) + " is " + size_of(next));
        below = std::move(next);
        above = &below;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ImageFile image = decode_image(data, size, MAX_SIDE);
    FUZZ_EXPECT(image || one_line(image.problem()), "the problem is [" + image.problem() + "]");
    const MipLevel& pixels = pixels_of(image);
    const bool no_pixels = pixels.width == 0 && pixels.height == 0 && pixels.texels.empty();
    // An image of a type FreeImage knows gives pixels or says why not.
    FUZZ_EXPECT(known_type(data, size) == (!no_pixels || !image),
                "an image of " + std::string(known_type(data, size) ? "a known" : "no") + " type gave " +
                    size_of(pixels) + " and the problem [" + image.problem() + "]");
    if (no_pixels)
        return 0;
    FUZZ_EXPECT(pixels.width >= 1 && pixels.height >= 1 && pixels.width <= MAX_SIDE && pixels.height <= MAX_SIDE &&
                    whole(pixels),
                "decoded " + size_of(pixels));
    // The size was taken from the header: a limit just under it refuses the
    // same bytes before decoding.
    const ImageFile smaller = decode_image(data, size, std::max(pixels.width, pixels.height) - 1);
    FUZZ_EXPECT(!smaller && one_line(smaller.problem()),
                "a limit under " + size_of(pixels) + " gave " + (smaller ? size_of(smaller.value()) : "nothing"));
    check_mip_chain(pixels);
    return 0;
}
