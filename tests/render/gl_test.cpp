#include "gl_test.h"

#include "platform/window.h"

#include <FreeImage.h>
#include <GL/glew.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

WorkingDirectory::WorkingDirectory(const std::string& path)
    : previous(std::filesystem::current_path().string())
{
    std::filesystem::current_path(path);
}

WorkingDirectory::~WorkingDirectory()
{
    std::filesystem::current_path(previous);
}

ScratchDirectory::ScratchDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tirak-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch directory");
    path_ = pattern;
    inside = std::make_unique<WorkingDirectory>(path_);
}

ScratchDirectory::~ScratchDirectory()
{
    inside.reset();
    std::filesystem::remove_all(path_);
}

void ScratchDirectory::write(const std::string& relative_path, const std::string& content) const
{
    const std::filesystem::path file = std::filesystem::path(path_) / relative_path;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
}

void GlTest::SetUp()
{
    open_gl_window(64, 64);
}

void open_gl_window(int width, int height)
{
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "these tests need an X server (Xvfb)";
    ASSERT_EQ(platform::init(), 1);
    platform::open_window_hint(platform::OPENGL_VERSION_MAJOR, 3);
    platform::open_window_hint(platform::OPENGL_VERSION_MINOR, 2);
    platform::open_window_hint(platform::OPENGL_PROFILE, platform::OPENGL_COMPAT_PROFILE);
    ASSERT_EQ(platform::open_window(width, height, 0, 0, 0, 0, 24, 8, platform::WINDOW), 1);
    ASSERT_EQ(glewInit(), static_cast<GLenum>(GLEW_OK));
}

void GlTest::TearDown()
{
    platform::terminate();
}

void write_png(const std::string& path, int width, int height, unsigned char red,
               unsigned char green, unsigned char blue, unsigned char alpha)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 32);
    for (int y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < width; ++x) {
            line[4 * x + FI_RGBA_RED] = red;
            line[4 * x + FI_RGBA_GREEN] = green;
            line[4 * x + FI_RGBA_BLUE] = blue;
            line[4 * x + FI_RGBA_ALPHA] = alpha;
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT) != 0;
    FreeImage_Unload(bitmap);
    if (!saved)
        throw std::runtime_error("cannot write " + path);
}
