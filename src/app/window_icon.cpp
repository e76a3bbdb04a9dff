#include "app/window_icon.h"

#include "platform/window.h"
#include "render/image_file.h"

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <vector>

namespace {

// The window system keeps every pixel in a property of the window, and no
// desktop shows a window's icon larger than this.
constexpr unsigned LARGEST_ICON_SIDE = 256;

} // namespace

void give_window_its_icon()
{
    const ImageFile icon = read_image_file(WINDOW_ICON_FILE, LARGEST_ICON_SIDE);
    const MipLevel& image = pixels_of(icon);
    if (image.width == 0) {
        std::cout << WINDOW_ICON_FILE << ": " << (icon ? "the file is missing or not an image" : icon.problem())
                  << "; the window has no icon." << std::endl;
        return;
    }
    // The reader gives BGRA from the bottom row up, as textures are
    // uploaded; the window wants RGBA from the top.
    const size_t row = size_t{image.width} * 4;
    std::vector<uint8_t> rgba(image.texels.size());
    for (size_t y = 0; y < image.height; ++y) {
        const uint8_t* from = &image.texels[(image.height - 1 - y) * row];
        uint8_t* to = &rgba[y * row];
        for (size_t x = 0; x < row; x += 4) {
            to[x] = from[x + 2];
            to[x + 1] = from[x + 1];
            to[x + 2] = from[x];
            to[x + 3] = from[x + 3];
        }
    }
    platform::set_window_icon(static_cast<int>(image.width), static_cast<int>(image.height), rgba);
}
