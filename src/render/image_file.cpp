#include "render/image_file.h"

#include <FreeImage.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace {

// FreeImage reports why a file failed through one handler for the whole
// process; each thread keeps the first report of its own load, the cause
// (libpng, say, names a zero width, then calls the header invalid).
thread_local std::string decoder_said;

void keep_decoder_message(FREE_IMAGE_FORMAT, const char* message)
{
    // Only its first line: some readers end their message with a line break.
    if (decoder_said.empty() && message != nullptr)
        decoder_said.assign(message, std::strcspn(message, "\r\n"));
}

void listen_to_decoder()
{
    static std::once_flag installed;
    std::call_once(installed, [] { FreeImage_SetOutputMessage(keep_decoder_message); });
    decoder_said.clear();
}

std::string decoder_problem()
{
    return decoder_said.empty() ? "the decoder cannot read it" : "the decoder says: " + decoder_said;
}

// PNG, as every texture we ship. FreeImage reads some thirty types more,
// but a few bytes of TARGA or PBM crash its readers of those, of EXR hang
// it, and reading no more than the header of a progressive JPEG that claims
// 65500*65500 pixels takes 8 GiB; so every other type is refused by its
// type, before a reader sees its header.
bool texture_type(FREE_IMAGE_FORMAT format)
{
    return format == FIF_PNG;
}

struct Unload {
    void operator()(FIBITMAP* image) const { FreeImage_Unload(image); }
};
using Bitmap = std::unique_ptr<FIBITMAP, Unload>;

// FreeImage reads files and memory alike through a loader given its flags;
// everything after the type is found is the same for both.
template <typename Load>
ImageFile decode(FREE_IMAGE_FORMAT format, unsigned max_side, Load load)
{
    if (format == FIF_UNKNOWN)
        return MipLevel{};
    if (!texture_type(format))
        return Failure{std::string("its type (") + FreeImage_GetFormatFromFIF(format) +
                       ") is not one the game reads: textures are PNG"};
    listen_to_decoder();
    const Bitmap header(load(FIF_LOAD_NOPIXELS));
    if (header == nullptr)
        return Failure{decoder_problem()};
    const unsigned width = FreeImage_GetWidth(header.get());
    const unsigned height = FreeImage_GetHeight(header.get());
    if (const Result<> sized = check_image_size(width, height, max_side); !sized)
        return Failure{sized.problem()};

    const Bitmap loaded(load(0));
    if (loaded == nullptr || !FreeImage_HasPixels(loaded.get()))
        return Failure{decoder_problem()};
    // 16-bit grey is decoded as numbers, not colours: made 8-bit grey first.
    const Bitmap standard(FreeImage_GetImageType(loaded.get()) == FIT_BITMAP
                              ? nullptr
                              : FreeImage_ConvertToType(loaded.get(), FIT_BITMAP, TRUE));
    const Bitmap converted(FreeImage_ConvertTo32Bits(standard ? standard.get() : loaded.get()));
    if (converted == nullptr)
        return Failure{"its pixels cannot be made 8-bit colour"};
    // A decoder that finds another size than its header gave is not trusted.
    if (FreeImage_GetWidth(converted.get()) != width || FreeImage_GetHeight(converted.get()) != height)
        return Failure{"the decoder found " + std::to_string(FreeImage_GetWidth(converted.get())) + "*" +
                       std::to_string(FreeImage_GetHeight(converted.get())) + " pixels where the header claims " +
                       std::to_string(width) + "*" + std::to_string(height)};
    // A 32-bit row is exactly width * 4 bytes, so the pixels are one block.
    const uint8_t* bits = FreeImage_GetBits(converted.get());
    MipLevel pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.texels.assign(bits, bits + size_t{width} * height * 4);
    return pixels;
}

} // namespace

const MipLevel& pixels_of(const ImageFile& image)
{
    static const MipLevel none;
    return image ? image.value() : none;
}

Result<> check_image_size(unsigned width, unsigned height, unsigned max_side)
{
    if (width >= 1 && height >= 1 && width <= max_side && height <= max_side)
        return Done{};
    return Failure{"the image claims " + std::to_string(width) + "*" + std::to_string(height) +
                   " pixels; a texture's sides must be from 1 to " + std::to_string(max_side)};
}

ImageFile decode_image(const uint8_t* bytes, size_t size, unsigned max_side)
{
    if (size == 0 || size > UINT32_MAX)
        return MipLevel{};
    FIMEMORY* memory = FreeImage_OpenMemory(const_cast<uint8_t*>(bytes), static_cast<DWORD>(size));
    if (memory == nullptr)
        return MipLevel{};
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(memory, 0);
    ImageFile image = decode(format, max_side, [&](int flags) {
        FreeImage_SeekMemory(memory, 0, SEEK_SET);
        return FreeImage_LoadFromMemory(format, memory, flags);
    });
    FreeImage_CloseMemory(memory);
    return image;
}

ImageFile read_image_file(const std::string& file_name, unsigned max_side)
{
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(file_name.c_str(), 0);
    return decode(format, max_side, [&](int flags) { return FreeImage_Load(format, file_name.c_str(), flags); });
}
