// Fixtures for tests on a real OpenGL context (Mesa under Xvfb): a window opened as the game
// opens its own, and scratch working directories, since the game reads its data from there.
#pragma once

#include "platform/window.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

// From Xlib, whose header would bring its macros (None, Bool ...) along.
extern "C" struct _XDisplay* XOpenDisplay(const char* name);

// A fresh directory, the working directory until destroyed, then removed.
class ScratchDirectory {
public:
    ScratchDirectory() : previous(std::filesystem::current_path())
    {
        std::string name = (std::filesystem::temp_directory_path() / "tirak-test-XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr)
            throw std::runtime_error("cannot make a scratch directory");
        path = name;
        std::filesystem::current_path(path);
    }
    ~ScratchDirectory()
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(path);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // Writes a file below the directory, making its parent directories.
    void write(const std::filesystem::path& file, const std::string& content) const
    {
        std::filesystem::create_directories((path / file).parent_path());
        std::ofstream(path / file, std::ios::binary) << content;
    }

    const std::filesystem::path previous;
    std::filesystem::path path;
};

// A window with the game's context (3.2, compatibility profile) and GLEW's entry points.
inline void open_gl_window(int width, int height)
{
    // Xvfb resets whenever its last client leaves, and a window opened during
    // the reset fails: one connection held for the whole run keeps it up.
    static const auto* const held = XOpenDisplay(nullptr);
    ASSERT_NE(held, nullptr) << "these tests need an X server (Xvfb)";
    ASSERT_TRUE(platform::init());
    platform::open_window_hint(platform::OPENGL_VERSION_MAJOR, 3);
    platform::open_window_hint(platform::OPENGL_VERSION_MINOR, 2);
    platform::open_window_hint(platform::OPENGL_PROFILE, platform::OPENGL_COMPAT_PROFILE);
    ASSERT_TRUE(platform::open_window(width, height, 0, 0, 0, 0, 24, 8, platform::WINDOW));
    ASSERT_EQ(glewInit(), static_cast<GLenum>(GLEW_OK));
}

class GlTest : public ::testing::Test {
protected:
    void SetUp() override { open_gl_window(64, 64); }
    void TearDown() override { platform::terminate(); }
};

// What the code under test writes to standard output and error.
struct Output {
    std::string out;
    std::string err;
};
template <typename Action> Output capture_output(Action action)
{
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    action();
    return {::testing::internal::GetCapturedStdout(), ::testing::internal::GetCapturedStderr()};
}

// The whole of a buffer object, however large it is.
template <typename T> std::vector<T> buffer_contents(GLenum target, GLuint buffer)
{
    glBindBuffer(target, buffer);
    GLint bytes = 0;
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &bytes);
    std::vector<T> contents(static_cast<size_t>(bytes) / sizeof(T));
    glGetBufferSubData(target, 0, bytes, contents.data());
    return contents;
}
