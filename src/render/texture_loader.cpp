#include "render/texture_loader.h"

#include "game/game.h"
#include "render/prepared_model.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace {

void upload(GLint level, const MipLevel& texels, const PreparedTexture& texture)
{
    const bool plain = texture.shown_as_stored || texture.stored_linear;
    glTexImage2D(GL_TEXTURE_2D, level, plain ? GL_RGBA8 : GL_SRGB8_ALPHA8,
                 static_cast<GLsizei>(texels.width), static_cast<GLsizei>(texels.height), 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, texels.texels.data());
}

// Reports one image file of a texture and, when `uploading`, puts it into
// the bound texture at `level`. A prepared level must be level 0's size
// halved `level` times: a level of another size would leave the texture
// incomplete, so it is refused and the level made from level 0 stays.
// Returns the image's size, 0*0 when it is not used.
glm::uvec2 load_level(const std::string& file_name, const ImageFile& image, GLint level, glm::uvec2 base_size,
                      const PreparedTexture& texture, bool uploading, unsigned max_side)
{
    const MipLevel& texels = pixels_of(image);
    std::string problem = image.problem();
    if (problem.empty() && texels.width > 0)
        problem = check_image_size(texels.width, texels.height, max_side).problem();
    const bool usable = texels.width > 0 && problem.empty();
    const unsigned width = usable ? texels.width : 0;
    const unsigned height = usable ? texels.height : 0;
    std::cout << "The size of the image is: " << file_name << " es " << width << "*" << height << std::endl;
    if (!usable) {
        std::cout << "Couldn't load Image: " << file_name << std::endl;
        if (!problem.empty())
            std::cout << file_name << ": " << problem << "." << std::endl;
        return {0, 0};
    }
    if (level > 0 && base_size.x > 0) {
        const glm::uvec2 expected(std::max(1u, base_size.x >> level), std::max(1u, base_size.y >> level));
        if (width != expected.x || height != expected.y) {
            std::cout << file_name << ": mip level " << level << " must be " << expected.x << "*"
                      << expected.y << "; the level made from level 0 is used instead." << std::endl;
            return {0, 0};
        }
    }
    if (!uploading)
        return {width, height};
    // The images hold sRGB colours, which the texture unit decodes to linear
    // light as it samples, before it filters; or linear light already.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, texture.shown_as_stored ? 0 : 1000);
    upload(level, texels, texture);
    // Level 0 brings the whole chain below it; prepared levels loaded after
    // it replace their part.
    for (size_t below = 0; level == 0 && below < texture.made_levels.size(); ++below)
        upload(static_cast<GLint>(below + 1), texture.made_levels[below], texture);
    return {width, height};
}

} // namespace

void load_textures(const std::vector<std::shared_ptr<PreparedTexture>>& textures, Game& game)
{
    GLint max_side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max_side);
    for (const std::shared_ptr<PreparedTexture>& texture : textures) {
        const bool uploading = texture->texture == 0;
        if (uploading)
            glGenTextures(1, &texture->texture);
        game.texture_map[texture->name] = texture->texture;
        glBindTexture(GL_TEXTURE_2D, texture->texture);
        glm::uvec2 base_size(0, 0);
        for (size_t level = 0; level < texture->files.size(); ++level) {
            const auto& [file_name, image] = texture->files[level];
            const glm::uvec2 size =
                load_level(file_name, image, static_cast<GLint>(level), base_size, *texture, uploading,
                           static_cast<unsigned>(max_side));
            if (level == 0)
                base_size = size;
        }
        // The texture holds the texels now; the sizes stay for the report
        // of a later model that names the same image.
        for (auto& [file_name, image] : texture->files)
            if (image)
                std::vector<uint8_t>().swap(image.value().texels);
        texture->made_levels.clear();
        texture->made_levels.shrink_to_fit();
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}
