// Reading image files for textures. Images come from players as well as
// from us, so an image's size is read from its header and checked before a
// single pixel is decoded: a few bytes can claim billions of pixels.
#pragma once

#include "render/mip_chain.h"
#include "result/result.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The largest side of an image the game accepts, whatever the driver
// allows: with its mip levels such a texture already takes 341 MiB.
constexpr unsigned MAX_IMAGE_SIDE = 8192;

// The pixels of an image, 32-bit BGRA, bottom row first, 0*0 when there is
// no image; or why a readable image was refused.
using ImageFile = Result<MipLevel>;

// Decodes a PNG image. One with a side of 0 or over max_side is refused by
// its header, and an image of any other type FreeImage knows by its type;
// the problem then says why. It also says why when a PNG cannot be read.
// Bytes that are no image give no pixels and no problem.
ImageFile decode_image(const uint8_t* bytes, size_t size, unsigned max_side);

// The same for a file; a missing or unreadable file gives no pixels and no
// problem.
ImageFile read_image_file(const std::string& file_name, unsigned max_side);

// The image's pixels, 0*0 for one that was refused.
const MipLevel& pixels_of(const ImageFile& image);

// Whether an image of this size can be a texture, and why not.
Result<> check_image_size(unsigned width, unsigned height, unsigned max_side);
