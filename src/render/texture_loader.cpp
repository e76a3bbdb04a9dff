#include "render/texture_loader.h"

#include "game/game.h"
#include "render/mip_chain.h"

#include <FreeImage.h>
#include <GL/glew.h>
#include <assimp/material.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>

#include <algorithm>

#include <iostream>
#include <set>
#include <string>
#include <vector>

namespace {

// Levels 1 to 3 of a texture may come from prepared files; OpenGL makes the
// rest from level 0.
constexpr int LAST_PREPARED_LEVEL = 3;
const std::string TEXTURE_DIRECTORY = "tex/";

// Every diffuse texture any material names, each name once, in name order.
std::set<std::string> diffuse_texture_names(const aiScene& scene)
{
    std::set<std::string> names;
    for (unsigned m = 0; m < scene.mNumMaterials; ++m) {
        aiString path;
        for (unsigned index = 0; aiGetMaterialTexture(scene.mMaterials[m], aiTextureType_DIFFUSE,
                                                      index, &path) == AI_SUCCESS;
             ++index)
            names.insert(path.C_Str());
    }
    return names;
}

// Reads an image file of any type FreeImage knows as 32-bit BGRA pixels,
// bottom row first as OpenGL wants them. Null when the file is missing or
// not an image.
FIBITMAP* load_32_bit_image(const std::string& file_name)
{
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(file_name.c_str(), 0);
    if (format == FIF_UNKNOWN)
        return nullptr;
    FIBITMAP* loaded = FreeImage_Load(format, file_name.c_str(), 0);
    if (loaded == nullptr)
        return nullptr;
    FIBITMAP* converted = FreeImage_ConvertTo32Bits(loaded);
    FreeImage_Unload(loaded);
    return converted;
}

// Loads one image file into the bound texture at `level` and reports it.
// A prepared level must be level 0's size halved `level` times: a level of
// another size would leave the texture incomplete, so it is refused and the
// level OpenGL made from level 0 stays. Returns the image's width and
// height, 0 when nothing was loaded.
void upload(GLint level, const MipLevel& texels, bool shown_as_stored)
{
    glTexImage2D(GL_TEXTURE_2D, level, shown_as_stored ? GL_RGBA8 : GL_SRGB8_ALPHA8, static_cast<GLsizei>(texels.width),
                 static_cast<GLsizei>(texels.height), 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.texels.data());
}

glm::uvec2 load_level(const std::string& file_name, GLint level, glm::uvec2 base_size, bool shown_as_stored)
{
    FIBITMAP* image = load_32_bit_image(file_name);
    const unsigned width = image ? FreeImage_GetWidth(image) : 0;
    const unsigned height = image ? FreeImage_GetHeight(image) : 0;
    std::cout << "The size of the image is: " << file_name << " es " << width << "*" << height
              << std::endl;
    if (width < 1) {
        std::cout << "Couldn't load Image: " << file_name << std::endl;
        FreeImage_Unload(image);
        return {0, 0};
    }
    if (level > 0 && base_size.x > 0) {
        const glm::uvec2 expected(std::max(1u, base_size.x >> level), std::max(1u, base_size.y >> level));
        if (width != expected.x || height != expected.y) {
            std::cout << file_name << ": mip level " << level << " must be " << expected.x << "*"
                      << expected.y << "; the level made from level 0 is used instead." << std::endl;
            FreeImage_Unload(image);
            return {0, 0};
        }
    }
    // A 32-bit row is exactly width * 4 bytes, so the pixels are one block.
    // The images hold sRGB colours; the texture unit decodes them to linear
    // light as it samples, before it filters.
    MipLevel texels{width, height, {}};
    const uint8_t* bits = FreeImage_GetBits(image);
    texels.texels.assign(bits, bits + size_t{width} * height * 4);
    FreeImage_Unload(image);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, shown_as_stored ? 0 : 1000);
    upload(level, texels, shown_as_stored);
    // Level 0 brings the whole chain below it, as the driver's mipmap
    // generation did; prepared levels loaded after it replace their part.
    for (GLint below = level + 1; level == 0 && !shown_as_stored && (texels.width > 1 || texels.height > 1); ++below) {
        texels = half_level(texels);
        upload(below, texels, false);
    }
    return {width, height};
}

} // namespace

void load_textures(const aiScene& scene, Game& game, bool has_mip_levels, bool shown_as_stored)
{
    const std::set<std::string> names = diffuse_texture_names(scene);
    if (names.empty())
        return;
    std::vector<GLuint> textures(names.size(), 0);
    glGenTextures(static_cast<GLsizei>(textures.size()), textures.data());

    // Uploading level 0 makes OpenGL regenerate the whole chain from it; the
    // prepared levels uploaded after it then replace their generated images.
    const int last_level = has_mip_levels ? LAST_PREPARED_LEVEL : 0;
    size_t next = 0;
    for (const std::string& name : names) {
        const GLuint texture = textures[next++];
        game.texture_map[name] = texture;
        glBindTexture(GL_TEXTURE_2D, texture);
        glm::uvec2 base_size(0, 0);
        for (int level = 0; level <= last_level; ++level) {
            const glm::uvec2 size =
                load_level(TEXTURE_DIRECTORY + std::to_string(level) + name, level, base_size, shown_as_stored);
            if (level == 0)
                base_size = size;
        }
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}
